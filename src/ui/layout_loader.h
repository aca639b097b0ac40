#pragma once

#include <memory>

#include <QString>
#include <QUiLoader>

class QWidget;

namespace vorlin {

// Builds control trees from the skin's layout files (Qt Designer UI documents; any extension).
// Classes the ControlFactory knows are created by it, everything else by Qt. After a tree is
// built it is made ready for use: its controls are wired to notifications, option groups are
// formed, edit limits applied and text keys resolved in the current language.
class LayoutLoader : public QUiLoader {
  Q_OBJECT

 public:
  explicit LayoutLoader(QObject* parent = nullptr);

  // The tree of a layout file (a skin name or "res.xml" alias), owned by `parent` when given.
  // nullptr (logged) when the file is missing or unreadable.
  QWidget* LoadLayout(const QString& layout, QWidget* parent = nullptr);

  QWidget* createWidget(const QString& class_name, QWidget* parent = nullptr,
                        const QString& name = QString()) override;

 private:
  int depth_ = 0;
};

// A top-level window from a layout file; nullptr when it cannot be built.
std::unique_ptr<QWidget> LoadWindow(const QString& layout);

// Builds the layout's tree and appends it to `container` (to its layout, or filling it when it
// has none). Returns the new tree or nullptr. The tree joins the container's window: its option
// groups and notifications are those of that window.
QWidget* AttachSubLayout(QWidget* container, const QString& layout);

// Forms exclusive option groups from the dynamic property "group" of checkable buttons below
// `root`; the groups are scoped to each button's window.
void ApplyOptionGroups(QWidget* root);

}  // namespace vorlin
