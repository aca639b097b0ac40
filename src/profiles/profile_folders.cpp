#include "profiles/profile_folders.h"

#include <filesystem>
#include <system_error>

#include "platform/log.h"

namespace vorlin {
namespace {

// Joins with exactly one "/" between the parts.
std::string Join(std::string_view folder, std::string_view name) {
  std::string result(folder);
  if (!result.empty() && result.back() != '/') result += '/';
  result += name;
  return result;
}

}  // namespace

bool IsPlainFileName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

std::string DefaultDataFolder(const ProfileFolders& folders) {
  return Join(folders.install_data_folder, "DefaultData/");
}

std::string DefaultDocumentPath(const ProfileFolders& folders, std::string_view data_name) {
  return DefaultDataFolder(folders) + std::string(data_name) + ".Json";
}

std::string DefaultLightNamesPath(const ProfileFolders& folders) {
  return DefaultDataFolder(folders) + "default_light.json";
}

std::string UserDataFolder(const ProfileFolders& folders, std::string_view data_name) {
  if (!IsPlainFileName(data_name)) return {};
  const std::string folder = Join(folders.user_data_root, data_name) + "/";
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error)
    qCWarning(lcVorlin) << "cannot create folder" << folder.c_str() << error.message().c_str();
  return folder;
}

std::string ProfileDocumentPath(const ProfileFolders& folders, std::string_view data_name,
                                std::string_view profile_id) {
  const std::string file = std::string(profile_id) + ".Json";
  if (!IsPlainFileName(profile_id) || !IsPlainFileName(file)) return {};
  const std::string folder = UserDataFolder(folders, data_name);
  return folder.empty() ? std::string() : folder + file;
}

std::string LightConfigPath(const ProfileFolders& folders, std::string_view data_name,
                            std::string_view config_name) {
  if (!IsPlainFileName(config_name)) return {};
  const std::string folder = UserDataFolder(folders, data_name);
  return folder.empty() ? std::string() : folder + std::string(config_name) + ".config";
}

}  // namespace vorlin
