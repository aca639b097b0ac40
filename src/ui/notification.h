#pragma once

#include <vector>

#include <QString>
#include <QStringView>

class QWidget;

namespace vorlin {

// One UI notification: what happened ("click", "valuechanged", "timer", ...) and to which control.
// Windows route notifications by the sender's objectName. Types are lower-case words; compare
// them with Is(), which ignores case.
struct Notification {
  QString type;
  QWidget* sender = nullptr;
  int timer_id = 0;  // the id given to SetTimer, for "timer" notifications

  bool Is(QStringView other) const { return type.compare(other, Qt::CaseInsensitive) == 0; }
  QString SenderName() const;
};

class NotifyBridge;

// Receives the notifications of a window (see NotifyBridge). A handler that goes away first
// detaches itself from its bridges, so a window whose class is also its handler can be destroyed
// safely: the focus and hide events of its dying children reach nobody.
class NotifyHandler {
 public:
  NotifyHandler() = default;
  NotifyHandler(const NotifyHandler&) = delete;
  NotifyHandler& operator=(const NotifyHandler&) = delete;
  virtual ~NotifyHandler();
  virtual void Notify(const Notification& notification) = 0;

 private:
  friend class NotifyBridge;
  std::vector<NotifyBridge*> bridges_;
};

// Notification types of the controls.
namespace notify {
inline constexpr char kWindowInit[] = "windowinit";
inline constexpr char kWindowSize[] = "windowsize";
inline constexpr char kClick[] = "click";
inline constexpr char kDbClick[] = "dbclick";
inline constexpr char kSelectChanged[] = "selectchanged";
inline constexpr char kItemSelect[] = "itemselect";
inline constexpr char kItemClick[] = "itemclick";
inline constexpr char kItemActivate[] = "itemactivate";
inline constexpr char kValueChanged[] = "valuechanged";
inline constexpr char kMoveValueChanged[] = "movevaluechanged";
inline constexpr char kTextChanged[] = "textchanged";
inline constexpr char kSetFocus[] = "setfocus";
inline constexpr char kKillFocus[] = "killfocus";
inline constexpr char kReturn[] = "return";
inline constexpr char kMenu[] = "menu";
inline constexpr char kTimer[] = "timer";
inline constexpr char kMouseEnter[] = "msenter";
inline constexpr char kMouseLeave[] = "msleave";
inline constexpr char kColorChanged[] = "colorchanged";
inline constexpr char kSelectEnd[] = "click_select_end";
}  // namespace notify

}  // namespace vorlin
