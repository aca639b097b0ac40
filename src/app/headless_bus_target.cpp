#include "app/headless_bus_target.h"

#include "devices/device_client.h"
#include "platform/log.h"

namespace vorlin {

HeadlessBusTarget::HeadlessBusTarget(const ProductEntry& product, const ProfileFolders& folders,
                                     DeviceClient& client)
    : product_(product), client_(client) {
  list_.SetFolders(UserDataFolder(folders, product.dataName),
                   DefaultDocumentPath(folders, product.dataName));
  if (!list_.Load()) qCWarning(lcVorlin) << "profile list of" << product.dataName.c_str() << "not saved";
}

bool HeadlessBusTarget::Present() const {
  const DeviceView& view = client_.View();
  return view.connection != ConnectionKind::kNone && view.deviceRead;
}

void HeadlessBusTarget::ApplyProfile(int index) {
  const ProfileList::Outcome outcome = list_.Select(index);
  if (outcome.status == ProfileList::Status::kWriteFailed)
    qCWarning(lcVorlin) << "profile selection not saved";
  ApplyCurrent();
}

ProfileList::Outcome HeadlessBusTarget::ImportProfile(const std::string& path) {
  const ProfileList::Outcome outcome = list_.Import(path);
  if (outcome.ok()) ApplyCurrent();
  return outcome;
}

bool HeadlessBusTarget::ExportProfile(const std::string& path) {
  return list_.Export(list_.SelectedIndex(), path);
}

void HeadlessBusTarget::ApplyCurrent() {
  const std::string id = list_.CurrentId();
  if (!id.empty()) client_.ApplyProfile(id, list_.DocumentPath(list_.SelectedIndex()));
}

}  // namespace vorlin
