#include "ui/layout_loader.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLayout>
#include <QVBoxLayout>
#include <QWidget>

#include "platform/log.h"
#include "ui/control_factory.h"
#include "ui/controls.h"
#include "ui/notify_bridge.h"
#include "ui/skin_manager.h"
#include "ui/translator.h"

namespace vorlin {

namespace {

// Sub-layouts may name further sub-layouts; a file that (indirectly) names itself would recurse
// forever, so nesting stops here.
constexpr int kMaxNesting = 16;

void PrepareTree(QWidget* root) {
  ApplyOptionGroups(root);
  ApplyEditLimits(root);
  Translator::Instance().ApplyTexts(root);
  WireNotifications(root);
}

}  // namespace

LayoutLoader::LayoutLoader(QObject* parent) : QUiLoader(parent) {
  // Pixmaps and icons named in layouts are skin files.
  const QString skin = SkinManager::Instance().SkinFolder();
  if (!skin.isEmpty()) setWorkingDirectory(QDir(skin));
  setLanguageChangeEnabled(false);
  setTranslationEnabled(false);
}

QWidget* LayoutLoader::LoadLayout(const QString& layout, QWidget* parent) {
  const QString path = SkinManager::Instance().FindLayout(layout);
  if (path.isEmpty()) return nullptr;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    qCWarning(lcVorlin) << "layout unreadable:" << path;
    return nullptr;
  }
  QWidget* root = load(&file, parent);
  if (!root) {
    qCWarning(lcVorlin) << "layout not built:" << path << errorString();
    return nullptr;
  }
  if (depth_ == 0) PrepareTree(root);
  return root;
}

QWidget* LayoutLoader::createWidget(const QString& class_name, QWidget* parent,
                                    const QString& name) {
  const ControlFactory& factory = ControlFactory::Instance();
  QWidget* widget = factory.Create(class_name, parent);
  if (!widget) {
    const QString sub_layout = factory.SubLayoutOf(class_name);
    if (!sub_layout.isEmpty()) {
      if (depth_ >= kMaxNesting) {
        qCWarning(lcVorlin) << "sub-layout nesting too deep at" << sub_layout;
      } else {
        ++depth_;
        LayoutLoader nested;
        nested.depth_ = depth_;
        widget = nested.LoadLayout(sub_layout, parent);
        --depth_;
      }
      // A missing sub-layout leaves an empty container so that the rest still loads.
      if (!widget) widget = new QWidget(parent);
    }
  }
  if (!widget) widget = QUiLoader::createWidget(class_name, parent, name);
  if (!widget) {
    // An unknown class becomes an empty container so that the rest of the layout still loads
    // and the name can still be found.
    qCWarning(lcVorlin) << "unknown control class" << class_name << "for" << name;
    widget = new QWidget(parent);
  }
  if (widget && !name.isEmpty()) widget->setObjectName(name);
  return widget;
}

std::unique_ptr<QWidget> LoadWindow(const QString& layout) {
  LayoutLoader loader;
  return std::unique_ptr<QWidget>(loader.LoadLayout(layout));
}

QWidget* AttachSubLayout(QWidget* container, const QString& layout) {
  if (!container) return nullptr;
  LayoutLoader loader;
  QWidget* tree = loader.LoadLayout(layout, container);
  if (!tree) return nullptr;
  QLayout* box = container->layout();
  if (!box) {
    box = new QVBoxLayout(container);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
  }
  box->addWidget(tree);
  tree->show();
  ApplyOptionGroups(tree);  // now scoped to the container's window
  return tree;
}

void ApplyOptionGroups(QWidget* root) {
  if (!root) return;
  for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
    const QString group = button->property("group").toString();
    if (!group.isEmpty()) SetOptionGroup(button, group);
  }
}

}  // namespace vorlin
