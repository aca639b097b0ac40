#pragma once

#include <functional>
#include <initializer_list>
#include <memory>

#include <QHash>
#include <QString>
#include <QStringList>

class QWidget;

namespace vorlin {

// Creates the program's own control classes for the class names that layout files use. Names are
// compared without case; a class usually answers to its tag ("DeviceKeyButton") and to its class
// name ("CDeviceKeyButtonUI"). A name can also stand for a whole sub-layout file, whose tree is
// then built in the tag's place. Later code adds its classes with one line:
//   ControlFactory::Instance().Register<CMyPanelUI>({"MyPanel", "CMyPanelUI"});
class ControlFactory {
 public:
  using Creator = std::function<QWidget*(QWidget* parent)>;

  static ControlFactory& Instance();

  void Register(std::initializer_list<QString> names, Creator creator);
  template <typename T>
  void Register(std::initializer_list<QString> names) {
    Register(names, [](QWidget* parent) -> QWidget* { return new T(parent); });
  }
  // `name` in a layout builds the tree of the layout file `layout` (a skin file name).
  void RegisterSubLayout(const QString& name, const QString& layout);

  bool Knows(const QString& name) const;
  // A new control of that class owned by `parent`, or nullptr for an unknown name. Sub-layout
  // names return nullptr here: the loader builds them (see LayoutLoader).
  QWidget* Create(const QString& name, QWidget* parent) const;
  // The layout file a sub-layout name stands for, or empty.
  QString SubLayoutOf(const QString& name) const;

 private:
  ControlFactory();
  static QString Key(const QString& name) { return name.toLower(); }

  QHash<QString, Creator> creators_;
  QHash<QString, QString> sub_layouts_;
};

}  // namespace vorlin
