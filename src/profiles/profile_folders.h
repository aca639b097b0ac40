#pragma once

#include <string>
#include <string_view>

namespace vorlin {

// Where the documents live. The application shell works both folders out (the install folder
// from VORLIN_DATA_DIR or the build's data folder, the user data root from $XDG_DATA_HOME) and
// hands them to the profile code, which only joins names onto them.
struct ProfileFolders {
  std::string install_data_folder;  // holds "DefaultData"
  std::string user_data_root;       // holds one folder per device kind
};

// The light configuration every device kind uses.
inline constexpr std::string_view kLightConfigName = "torva_light";

// install folder + "/DefaultData/"
std::string DefaultDataFolder(const ProfileFolders& folders);
// install folder + "/DefaultData/" + data name + ".Json": the kind's factory document.
std::string DefaultDocumentPath(const ProfileFolders& folders, std::string_view data_name);
// install folder + "/DefaultData/default_light.json": the built-in light mode names.
std::string DefaultLightNamesPath(const ProfileFolders& folders);

// user data root + "/" + data name + "/". Both levels are created when missing, every time the
// folder is asked for; an empty string when the data name is not a plain file name.
std::string UserDataFolder(const ProfileFolders& folders, std::string_view data_name);
// The profile document: user data folder + profile id + ".Json". The id comes from the profile
// list document, so an id that is not a plain file name gives an empty path rather than a path
// outside the folder.
std::string ProfileDocumentPath(const ProfileFolders& folders, std::string_view data_name,
                                std::string_view profile_id);
// The light configuration: user data folder + "torva_light" + ".config".
std::string LightConfigPath(const ProfileFolders& folders, std::string_view data_name,
                            std::string_view config_name = kLightConfigName);

// A name that stays inside its folder when used as a file name: not empty, not "." or "..",
// without "/" or NUL.
bool IsPlainFileName(std::string_view name);

}  // namespace vorlin
