#pragma once

// One entry of the device selector strip ("device_select_layout"): the device's icon button
// "device_select" (an option of the strip's group, bound to the device's page), the synchro check
// "synchro_device_select" and the caption "device_select_name", built from the option layout.

#include <vector>

#include <QPointer>
#include <QStackedWidget>
#include <QString>
#include <QWidget>

class QAbstractButton;
class QLabel;
class QStackedWidget;

namespace vorlin {

class DevicePage;

struct DeviceOptionImages {
  QString normal;
  QString selected;
  QString synchroNormal;
  QString synchroSelected;
  QString nameKey;  // the tooltip's language key
};
// The images and name key of an icon stem ("common/device_ico/" + stem + ...); empty names for an
// empty stem.
DeviceOptionImages DeviceOptionImagesFor(const QString& stem);

class CDeviceOptionUI : public QWidget {
  Q_OBJECT

 public:
  // Builds the option from `layout` (a skin layout file).
  CDeviceOptionUI(const QString& layout, QWidget* parent = nullptr);
  bool IsBuilt() const { return select_ != nullptr; }

  void SetPage(DevicePage* page);
  DevicePage* Page() const { return page_; }

  // The product's kind code and picture variant, and the stem of its icons (the product
  // catalogue's); an empty stem keeps the images.
  void SetKind(uint32_t kind, int variant, const QString& icon_stem);
  uint32_t Kind() const { return kind_; }
  int Variant() const { return variant_; }

  void SetPowerContainer(const QString& name, int index);
  const QString& PowerContainerName() const { return power_container_; }
  int PowerIndex() const { return power_index_; }

  void BindTab(QStackedWidget* tabs, int index);
  QStackedWidget* BoundTabs() const { return tabs_; }
  int BoundIndex() const { return tab_index_; }

  void SetGroup(const QString& group);
  void SetCaption(const QString& text);

  // Selects or clears "device_select" (with the selection notification when `notify`).
  void Select(bool selected, bool notify = true);
  bool IsSelected() const;

  // Shown = the device counts as connected.
  void SetShown(bool shown);
  bool Shown() const { return shown_; }

  void ShowSynchro(bool visible);
  void SetSynchroSelected(bool selected);
  bool SynchroSelected() const;

  QAbstractButton* SelectButton() const { return select_; }
  QAbstractButton* SynchroCheck() const { return synchro_; }

 private:
  void UpdateIcon();

  QAbstractButton* select_ = nullptr;
  QAbstractButton* synchro_ = nullptr;
  QLabel* caption_ = nullptr;
  DevicePage* page_ = nullptr;  // lives as long as the option (both belong to the window)
  uint32_t kind_ = 0;
  int variant_ = 0;
  DeviceOptionImages images_;
  QString power_container_;
  int power_index_ = -1;
  QPointer<QStackedWidget> tabs_;
  int tab_index_ = -1;
  bool shown_ = true;
};

// The option that holds `control` (its "device_select" or any other part), or nullptr.
CDeviceOptionUI* OptionOfControl(QWidget* control);

// Index of the nearest shown option before (step -1) or after (step +1) `from`; -1 when none.
int NeighbourShownOption(const std::vector<bool>& shown, int from, int step);

}  // namespace vorlin
