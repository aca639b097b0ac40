#include "app/page_bus_target.h"

#include "devices/device_client.h"
#include "pages/device_option.h"
#include "pages/device_page.h"
#include "profile_bar/device_profile_ui.h"

namespace vorlin {

namespace {

// The profile bar asks nothing and tells nothing while a call from the bus uses it: the caller
// hears the outcome instead of a message box waiting for the user.
class QuietProfileBar {
 public:
  explicit QuietProfileBar(CDeviceProfileUI& bar) : bar_(bar) {
    bar_.SetMessageBox([](QWidget*, const QString&, int, const QString&) { return 0; });
  }
  ~QuietProfileBar() { bar_.SetMessageBox(nullptr); }
  QuietProfileBar(const QuietProfileBar&) = delete;
  QuietProfileBar& operator=(const QuietProfileBar&) = delete;

 private:
  CDeviceProfileUI& bar_;
};

}  // namespace

const ProductEntry& PageBusTarget::Product() const {
  return page_.Product();
}

DeviceClient& PageBusTarget::Client() const {
  return page_.Client();
}

bool PageBusTarget::Present() const {
  return page_.Option() && page_.Option()->Shown() &&
         page_.Client().View().connection != ConnectionKind::kNone;
}

const ProfileList& PageBusTarget::Profiles() const {
  return page_.ProfileBar()->List();
}

void PageBusTarget::ApplyProfile(int index) {
  // As a pick in the profile combo: the bar shows it, and the page applies it to the device.
  CDeviceProfileUI& bar = *page_.ProfileBar();
  bar.SelectProfile(index);
  bar.SwitchProfile();
}

ProfileList::Outcome PageBusTarget::ImportProfile(const std::string& path) {
  CDeviceProfileUI& bar = *page_.ProfileBar();
  const QuietProfileBar quiet(bar);
  return bar.ImportProfile(path);
}

bool PageBusTarget::ExportProfile(const std::string& path) {
  CDeviceProfileUI& bar = *page_.ProfileBar();
  const QuietProfileBar quiet(bar);
  return bar.ExportProfile(path);
}

}  // namespace vorlin
