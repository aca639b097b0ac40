#pragma once

// What the fit test looks for in a window as it stands: a text wider (or taller) than the room
// its control gives it, a control cut off by the container it sits in, and two visible sibling
// controls over each other. A control that is meant to shorten its text itself carries the
// dynamic property "elide" and is left alone; so are the parts of a device picture, which are
// placed over the picture on purpose.

#include <functional>
#include <vector>

#include <QString>

class QWidget;

namespace vorlin::test {

struct FitFault {
  QString control;  // the control's name with its named ancestors ("page/panel/control")
  QString text;     // the text that does not fit (empty for an overlap)
  QString problem;  // what is wrong, with the sizes
};

// The faults of every control of `root` that is visible in it.
std::vector<FitFault> FindFitFaults(QWidget* root);

// Shows every page of every tab layout (QStackedWidget) below `root` in turn, nested ones
// included, and calls `visit` with the window laid out for each; each stack is put back on its
// page afterwards. `visit` is called once first with the window as it is.
void VisitEveryPage(QWidget* root, const std::function<void()>& visit);

// Lays out `root` and everything below it now (pending layout requests and resizes).
void Settle(QWidget* root);

// "window control: problem "text"" for a failure message.
QString Describe(const FitFault& fault);

}  // namespace vorlin::test
