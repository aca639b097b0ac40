#pragma once

#include <cstdint>

#include <QPushButton>
#include <QString>

#include "ui/key_mark_target.h"

namespace vorlin {

// One key, mouse button or light of a device picture. Over the button's own look it draws the
// light colour the device page gives it (the "lightimage" tinted), then the unset-mark overlay
// ("keyunsetimage") and the set-mark overlay ("keysetimage") while they are not hidden. The image
// names come from the layout as dynamic properties (names compared without case).
class CDeviceKeyButtonUI : public QPushButton, public KeyMarkTarget {
  Q_OBJECT

 public:
  static constexpr char kClassName[] = "DeviceKeyButton";

  explicit CDeviceKeyButtonUI(QWidget* parent = nullptr);

  // The control class the selection panel looks for; subclasses answer their own name.
  virtual QString GetClass() const { return QString::fromLatin1(kClassName); }

  // Stores the light (colour word packed as in light_colour.h, level 0-255, shown). Does not
  // repaint: the device page's frame timer repaints the buttons whose light changed. True when
  // the light is not what it was.
  bool SetLight(uint32_t colour_word, int level, bool shown);
  uint32_t LightColour() const { return light_colour_; }
  int LightLevel() const { return light_level_; }
  bool IsLightShown() const { return light_shown_; }

  // Mark flags repaint the button only when they change.
  bool IsSetMarkHidden() const override { return set_mark_hidden_; }
  bool IsUnsetMarkHidden() const override { return unset_mark_hidden_; }
  bool IsMarked() const override { return marked_; }
  void SetSetMarkHidden(bool hidden) override;
  void SetUnsetMarkHidden(bool hidden) override;
  void SetMarked(bool marked) override;

  // Set by the selection panel at the end of a drag; no repaint.
  void SetDragSelected(bool selected) { drag_selected_ = selected; }
  bool IsDragSelected() const { return drag_selected_; }

  void SetLightImage(const QString& image);
  void SetKeySetImage(const QString& image);
  void SetKeyUnsetImage(const QString& image);
  const QString& LightImage() const { return light_image_; }
  const QString& KeySetImage() const { return key_set_image_; }
  const QString& KeyUnsetImage() const { return key_unset_image_; }

  // Test hook: the number of paint events the button has handled.
  int PaintCount() const { return paint_count_; }

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  bool ApplyAttribute(const QByteArray& name);

  QString light_image_;
  QString key_set_image_;
  QString key_unset_image_;
  bool set_mark_hidden_ = true;
  bool unset_mark_hidden_ = true;
  bool marked_ = false;
  bool light_shown_ = false;
  uint32_t light_colour_ = 255;
  int light_level_ = 200;
  bool drag_selected_ = false;
  int paint_count_ = 0;
  // The tinted light of the last paint, kept while colour, level and size stay the same: a
  // running effect repaints the buttons many times a second.
  QImage tinted_;
  uint32_t tinted_colour_ = 0;
  int tinted_level_ = -1;
  QSize tinted_size_;
  QString tinted_image_;
};

}  // namespace vorlin
