#pragma once

// The key information list ("device_setkeyinfo_list"): one row per button of the mouse, its label
// in white and the function it has in blue. A row is 25 high; the label is 200 wide and the
// function 180 wide, each cut with an ellipsis when longer (the function's whole text is the
// row's tooltip). In a column too narrow for both they give way down to 100 and 90, so the
// list fits the device page's settings column. Rows follow the window scale of the list's window.
// The list takes the height its column has, a few rows at the least (ui/growing_list.h).

#include <vector>

#include <QListWidget>
#include <QString>

#include "ui/growing_list.h"

namespace vorlin {

struct KeyInfoRow {
  QString label;          // the button's name, shown as given
  QString function_name;  // what the button does
  bool visible = true;    // hidden rows keep their place (row i is button i)
};

// Shows `rows` in `list`: exactly one row per entry, in order.
void ShowKeyInfoRows(QListWidget* list, const std::vector<KeyInfoRow>& rows);

class KeyInfoList : public GrowingList {
  Q_OBJECT

 public:
  static constexpr int kRowHeight = 25;
  static constexpr int kLabelWidth = 200;
  static constexpr int kFunctionWidth = 180;
  static constexpr int kLabelMinWidth = 100;
  static constexpr int kFunctionMinWidth = 90;
  static constexpr QRgb kLabelColour = 0xFFFFFFFF;
  static constexpr QRgb kFunctionColour = 0xFF0099FF;

  explicit KeyInfoList(QWidget* parent = nullptr);

  void Show(const std::vector<KeyInfoRow>& rows) { ShowKeyInfoRows(this, rows); }
};

// The text a row's function label shows (its whole text, or cut with an ellipsis); empty for a
// row that does not exist.
QString KeyInfoFunctionText(const QListWidget* list, int row);

}  // namespace vorlin
