#include "fit_check.h"

#include <algorithm>
#include <cmath>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTextBoundaryFinder>
#include <QTextDocument>

namespace vorlin::test {

namespace {

// Glyphs stay inside a line's box less its leading: a wrapped text may lose this much height
// unseen.
constexpr int kHeightSlack = 2;

// The height of the glyphs' ink: a one-line text is drawn centred in its control and shows whole
// while the control is at least this tall (padding is painted over, the control's edge clips).
int InkHeight(const QFontMetrics& fm, const QString& text) {
  return fm.tightBoundingRect(text).height();
}

bool InPicture(const QWidget* widget, const QWidget* root) {
  for (const QWidget* w = widget->parentWidget(); w && w != root; w = w->parentWidget()) {
    if (w->inherits("vorlin::CSelectPanelUI")) return true;
  }
  return false;
}

bool MeantToElide(const QWidget* widget) {
  return widget->property("elide").toBool();
}

// The control's name after the page it is on and its two nearest named containers
// ("mouse_page/.../dpi_row/dpi_label"); a control without a name by its class.
QString PathOf(const QWidget* widget, const QWidget* root) {
  QStringList names;
  QString page;
  for (const QWidget* w = widget; w && w != root; w = w->parentWidget()) {
    const QString name = w->objectName();
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) continue;
    if (name.endsWith(QLatin1String("_page")) && w != widget) page = name;
    if (names.size() < 3) names.prepend(name);
  }
  if (widget->objectName().isEmpty())
    names << QStringLiteral("(%1)").arg(QString::fromLatin1(widget->metaObject()->className()));
  if (!page.isEmpty() && !names.contains(page)) names.prepend(page + QStringLiteral("/..."));
  return names.join(QLatin1Char('/'));
}

// The text as drawn: mnemonic markers gone.
QString Shown(QString text) {
  text.replace(QLatin1String("&&"), QStringLiteral("\x01"));
  text.remove(QLatin1Char('&'));
  text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
  return text;
}

QString Size(const QSize& size) {
  return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

int PlainWidth(const QFontMetrics& fm, const QString& text) {
  int width = 0;
  for (const QString& line : text.split(QLatin1Char('\n'))) {
    width = std::max(width, fm.horizontalAdvance(line));
  }
  return width;
}

// The widest piece of the text that a wrapped line cannot break.
int WidestUnbreakable(const QFontMetrics& fm, const QString& text) {
  QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
  int widest = 0;
  qsizetype start = 0;
  while (finder.toNextBoundary() >= 0) {
    const qsizetype end = finder.position();
    widest = std::max(widest, fm.horizontalAdvance(text.mid(start, end - start).trimmed()));
    start = end;
  }
  return widest;
}

struct Checker {
  QWidget* root;
  std::vector<FitFault>* faults;

  void Add(const QWidget* control, const QString& text, const QString& problem) {
    faults->push_back({PathOf(control, root), text, problem});
  }

  void Label(QLabel* label) {
    const QString text = label->text();
    if (text.isEmpty() || !label->pixmap().isNull()) return;
    const QRect room = label->contentsRect().adjusted(label->margin(), label->margin(),
                                                      -label->margin(), -label->margin());
    const QFontMetrics fm(label->font());
    const bool rich = label->textFormat() == Qt::RichText ||
                      (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text));
    if (label->wordWrap()) {
      const int needed = label->heightForWidth(label->width());
      if (needed > label->height() + kHeightSlack) {
        Add(label, text,
            QStringLiteral("wrapped text needs %1 px of height, has %2")
                .arg(needed)
                .arg(label->height()));
      }
      const int word = rich ? 0 : WidestUnbreakable(fm, text);
      if (word > room.width()) {
        Add(label, text,
            QStringLiteral("a word needs %1 px of width, has %2").arg(word).arg(room.width()));
      }
      return;
    }
    int width = 0;
    int height = 0;
    if (rich) {
      QTextDocument doc;
      doc.setDefaultFont(label->font());
      doc.setDocumentMargin(0);
      doc.setHtml(text);
      width = static_cast<int>(std::ceil(doc.idealWidth()));
      height = static_cast<int>(std::ceil(doc.size().height()));
    } else {
      width = PlainWidth(fm, text);
      const int lines = static_cast<int>(text.count(QLatin1Char('\n')) + 1);
      height = lines > 1 ? fm.lineSpacing() * (lines - 1) + fm.height() : InkHeight(fm, text);
    }
    if (width > room.width() || height > label->height()) {
      Add(label, text,
          QStringLiteral("needs %1, has %2").arg(Size({width, height}), Size(room.size())));
    }
  }

  void Button(QAbstractButton* button) {
    const QString text = Shown(button->text());
    if (text.isEmpty()) return;
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<QCheckBox*>(button)) contents = QStyle::SE_CheckBoxContents;
    if (qobject_cast<QRadioButton*>(button)) contents = QStyle::SE_RadioButtonContents;
    if (!qobject_cast<QPushButton*>(button) && contents == QStyle::SE_PushButtonContents) return;
    if (auto* push = qobject_cast<QPushButton*>(button); push && push->isFlat())
      option.features |= QStyleOptionButton::Flat;
    const QRect room = button->style()->subElementRect(contents, &option, button);
    const QFontMetrics fm(button->font());
    int width = fm.horizontalAdvance(text);
    if (!button->icon().isNull()) width += button->iconSize().width() + 4;
    const int height = InkHeight(fm, text);
    if (width > room.width() || height > button->height()) {
      Add(button, text,
          QStringLiteral("needs %1, has %2")
              .arg(Size({width, height}), Size({room.width(), button->height()})));
    }
  }

  void Combo(QComboBox* combo) {
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    option.frame = combo->hasFrame();
    option.subControls = QStyle::SC_All;
    const QRect room = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                      QStyle::SC_ComboBoxEditField, combo);
    const QFontMetrics fm(combo->font());
    for (int i = 0; i < combo->count(); ++i) {
      const QString text = combo->itemText(i);
      int width = fm.horizontalAdvance(text) + 2;  // the label keeps a pixel each side
      if (!combo->itemIcon(i).isNull()) width += combo->iconSize().width() + 4;
      if (width > room.width()) {
        Add(combo, text,
            QStringLiteral("item needs %1 px of width, has %2").arg(width).arg(room.width()));
      }
    }
    if (const int height = InkHeight(fm, combo->currentText()); height > combo->height()) {
      Add(combo, combo->currentText(),
          QStringLiteral("needs %1 px of height, has %2").arg(height).arg(combo->height()));
    }
  }

  // Whether the control is cut by a container it sits in: every ancestor up to the window must
  // hold it, except along the directions in which a scroll area moves it into view.
  void Containment(QWidget* control, const QString& text) {
    QRect rect = control->geometry();
    for (QWidget* parent = control->parentWidget(); parent && parent != root->parentWidget();
         parent = parent->parentWidget()) {
      auto* area = qobject_cast<QAbstractScrollArea*>(parent->parentWidget());
      if (area && area->viewport() == parent) {
        const bool cut_across = area->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff &&
                                (rect.left() < 0 || rect.right() > parent->rect().right());
        const bool cut_down = area->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff &&
                              (rect.top() < 0 || rect.bottom() > parent->rect().bottom());
        if (cut_across || cut_down) Cut(control, text, parent, rect);
        return;  // beyond here the control scrolls into view
      }
      if (!parent->rect().contains(rect)) {
        Cut(control, text, parent, rect);
        return;
      }
      if (parent->isWindow()) return;
      rect.translate(parent->pos());
    }
  }

  void Cut(QWidget* control, const QString& text, QWidget* container, const QRect& rect) {
    Add(control, text,
        QStringLiteral("cut off by %1: at %2,%3 size %4 in %5")
            .arg(PathOf(container, root).isEmpty() ? QStringLiteral("the window")
                                                   : PathOf(container, root))
            .arg(rect.x())
            .arg(rect.y())
            .arg(Size(rect.size()), Size(container->size())));
  }

  static bool Solid(const QWidget* widget) {
    if (widget->isWindow() || widget->objectName().startsWith(QLatin1String("qt_"))) return false;
    // Strips meant to lie over the controls (the window's resize edges).
    if (widget->property("overlay").toBool()) return false;
    // A picture or an empty label is decoration that controls may sit on.
    if (auto* label = qobject_cast<const QLabel*>(widget))
      return !label->text().isEmpty() && label->pixmap().isNull();
    return true;
  }

  void Overlaps(QWidget* parent) {
    std::vector<QWidget*> children;
    for (QObject* object : parent->children()) {
      auto* child = qobject_cast<QWidget*>(object);
      if (child && child->isVisibleTo(root) && Solid(child)) children.push_back(child);
    }
    for (size_t i = 0; i < children.size(); ++i) {
      for (size_t j = i + 1; j < children.size(); ++j) {
        const QRect both = children[i]->geometry().intersected(children[j]->geometry());
        if (both.isEmpty()) continue;
        Add(children[i], QString(),
            QStringLiteral("overlaps %1 by %2").arg(PathOf(children[j], root), Size(both.size())));
      }
    }
  }

  void Control(QWidget* widget) {
    if (InPicture(widget, root)) return;
    if (!widget->inherits("vorlin::CSelectPanelUI")) Overlaps(widget);
    if (widget == root || MeantToElide(widget)) return;
    QString text;
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      Label(label);
      text = label->pixmap().isNull() ? label->text() : QString();
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      Button(button);
      text = Shown(button->text());
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
      Combo(combo);
      text = combo->currentText();
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      text = edit->text();
      if (text.isEmpty()) text = QStringLiteral("(edit)");
    }
    if (!text.isEmpty()) Containment(widget, text);
  }
};

bool Visible(const QWidget* widget, const QWidget* root) {
  return widget == root || (!widget->isWindow() && widget->isVisibleTo(root));
}

// The stacks below `under` that no other stack below `under` holds.
std::vector<QStackedWidget*> OuterStacks(QWidget* under, QWidget* root) {
  std::vector<QStackedWidget*> outer;
  for (QStackedWidget* stack : under->findChildren<QStackedWidget*>()) {
    if (!Visible(stack, root)) continue;
    bool nested = false;
    for (QWidget* w = stack->parentWidget(); w && w != under; w = w->parentWidget()) {
      if (qobject_cast<QStackedWidget*>(w)) nested = true;
    }
    if (!nested) outer.push_back(stack);
  }
  return outer;
}

void VisitStacks(QWidget* under, QWidget* root, const std::function<void()>& visit);

void VisitStack(QStackedWidget* stack, QWidget* root, const std::function<void()>& visit) {
  const int current = stack->currentIndex();
  for (int index = 0; index < stack->count(); ++index) {
    stack->setCurrentIndex(index);
    Settle(root);
    if (index != current) visit();  // the page as it was has been seen
    // A page may be a tab layout itself, or hold some.
    QWidget* page = stack->widget(index);
    if (auto* inner = qobject_cast<QStackedWidget*>(page))
      VisitStack(inner, root, visit);
    else
      VisitStacks(page, root, visit);
  }
  stack->setCurrentIndex(current);
  Settle(root);
}

void VisitStacks(QWidget* under, QWidget* root, const std::function<void()>& visit) {
  for (QStackedWidget* stack : OuterStacks(under, root)) VisitStack(stack, root, visit);
}

}  // namespace

std::vector<FitFault> FindFitFaults(QWidget* root) {
  std::vector<FitFault> faults;
  Checker checker{root, &faults};
  checker.Control(root);
  for (QWidget* widget : root->findChildren<QWidget*>()) {
    if (Visible(widget, root)) checker.Control(widget);
  }
  return faults;
}

void VisitEveryPage(QWidget* root, const std::function<void()>& visit) {
  Settle(root);
  visit();
  VisitStacks(root, root, visit);
}

void Settle(QWidget* root) {
  for (int round = 0; round < 3; ++round) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    if (root->layout()) root->layout()->activate();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  }
}

QString Describe(const FitFault& fault) {
  if (fault.text.isEmpty()) return fault.control + QStringLiteral(": ") + fault.problem;
  return fault.control + QStringLiteral(" \"") + fault.text + QStringLiteral("\": ") +
         fault.problem;
}

}  // namespace vorlin::test
