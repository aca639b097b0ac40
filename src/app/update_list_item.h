#pragma once

// CUpdateInfoListItemUI: one row of the update page's list, built from
// "XML\CustomControlXML\device_Update_list_item.xml" (or in code when the skin lacks it). It shows
// an UpdateRow: the tick box with the product's name, the version now and the one offered, the
// status text, and by status the progress (downloading, installing), the done mark (downloaded),
// grey text (nothing to do) and "show in folder" (a file that was not started).

#include <QPointer>
#include <QWidget>

#include "online/update_check.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace vorlin {

class CUpdateInfoListItemUI {
 public:
  // The row's controls go into `list` (a widget with a vertical layout); they carry the dynamic
  // property "updateRow" = `index`.
  CUpdateInfoListItemUI(QWidget* list, int index);
  ~CUpdateInfoListItemUI();
  CUpdateInfoListItemUI(const CUpdateInfoListItemUI&) = delete;
  CUpdateInfoListItemUI& operator=(const CUpdateInfoListItemUI&) = delete;

  void Show(const UpdateRow& row);
  QWidget* Widget() const { return root_; }
  QCheckBox* TickBox() const { return tick_; }

  static constexpr char kRowProperty[] = "updateRow";
  static constexpr int kHeight = 40;

 private:
  QPointer<QWidget> root_;
  QCheckBox* tick_ = nullptr;
  QLabel* current_ = nullptr;
  QLabel* offered_ = nullptr;
  QLabel* status_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* percent_ = nullptr;
  QLabel* done_ = nullptr;
  QPushButton* show_file_ = nullptr;
};

}  // namespace vorlin
