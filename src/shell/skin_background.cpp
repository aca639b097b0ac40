#include "shell/skin_background.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QVariant>
#include <QWidget>

#include "shell/skin_observer.h"
#include "ui/skin_manager.h"

namespace vorlin {

namespace {

constexpr char kBaseStyleProperty[] = "_vorlin_skin_base_style";

// Stylesheet text of a path: quoted, so spaces and parentheses in a user's file name are safe.
QString QuotedUrl(const QString& path) {
  QString escaped = path;
  escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
      .replace(QLatin1Char('"'), QLatin1String("\\\""));
  return QStringLiteral("url(\"") + escaped + QStringLiteral("\")");
}

}  // namespace

void ApplySkinBackground(QWidget* root, const SkinChangedParam& param) {
  if (!root) return;
  const QString selector = root->objectName().isEmpty() ? QStringLiteral("QWidget")
                                                        : QStringLiteral("#") + root->objectName();
  QString rule;
  if (param.is_color) {
    const QColor color = QColor::fromRgba(param.color);
    rule = QStringLiteral("background-color: %1; border-image: none;")
               .arg(color.name(QColor::HexArgb));
  } else {
    const QString path = QFileInfo(param.image).isAbsolute()
                             ? param.image
                             : SkinManager::Instance().FindFile(param.image);
    rule = path.isEmpty() ? QStringLiteral("background-color: transparent; border-image: none;")
                          : QStringLiteral(
                                "background-color: transparent; border-image: %1 0 0 0 0 "
                                "stretch stretch;")
                                .arg(QuotedUrl(QDir::fromNativeSeparators(path)));
  }
  // The layout may style the root itself; keep that and add the background after it.
  QVariant base = root->property(kBaseStyleProperty);
  if (!base.isValid()) {
    base = root->styleSheet();
    root->setProperty(kBaseStyleProperty, base);
  }
  root->setStyleSheet(base.toString() + QLatin1Char('\n') + selector + QStringLiteral(" { ") +
                      rule + QStringLiteral(" }"));
}

}  // namespace vorlin
