#pragma once

#include <functional>
#include <memory>

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include "ui/notification.h"

class QWidget;

namespace vorlin {

class SkinObserver;

// The skin drop-down ("skin.xml", a pop-up: Escape, a click outside it or the skin button close
// it): a page of pictures and a page of colours for the main
// window's background, a reset and a custom picture.
//   "skin_image_btn" (every picture button; its user data is the picture): the picture, stored in
//                    "main.ini" as chosen from the list
//   "skin_color_btn" (every colour button; its dynamic property "bkcolor", "#AARRGGBB" or
//                    "0xAARRGGBB", else its background colour): the colour, not stored
//   "skin_image" / "skin_color": "skin_tab" shows the pictures / the colours
//   "skin_reset": the default picture, stored as a reset
//   "skin_Custom": a picture file the user picks (not stored)
class CSkinWnd : public NotifyHandler {
 public:
  // Asks for a picture file; an empty answer means cancelled.
  using FileChooser = std::function<QString(QWidget* parent)>;

  // `settings_path`: where the choice is stored ("main.ini"). The observer must outlive the
  // window.
  CSkinWnd(SkinObserver* observer, QString settings_path);
  ~CSkinWnd() override;
  CSkinWnd(const CSkinWnd&) = delete;
  CSkinWnd& operator=(const CSkinWnd&) = delete;

  // Builds the window; false (logged) when "skin.xml" cannot be built.
  bool Create();
  // Shows it under `skin_button` (its right edge on the button's right edge, its top on the
  // button's bottom).
  void ShowBelow(const QWidget* skin_button);
  void Close();
  // The skin button's click: opens the drop-down, or closes it when it is open.
  void Toggle(const QWidget* skin_button);
  bool IsOpen() const;

  void SetFileChooser(FileChooser chooser) { choose_file_ = std::move(chooser); }
  QWidget* Window() const { return window_.get(); }
  void Notify(const Notification& notification) override;

 private:
  void Send(bool is_color, uint32_t color, const QString& image) const;

  SkinObserver* observer_;
  QString settings_path_;
  FileChooser choose_file_;
  std::unique_ptr<QWidget> window_;
};

// Top-left corner of a window of `window_size` placed below `button` (screen coordinates).
QPoint SkinWindowPosition(const QRect& button, const QSize& window_size);

// The colour of a colour button: its "bkcolor" property, else its palette's button colour, as
// 0xAARRGGBB.
uint32_t SkinButtonColor(const QWidget* button);
// Reads "#AARRGGBB", "#RRGGBB" or "0xAARRGGBB" (alpha 0xFF when not given) into `color`; false,
// leaving `color` alone, for any other text.
bool ParseSkinColor(const QString& text, uint32_t* color);

// The default file chooser: an open-file dialog for PNG pictures.
QString ChooseSkinPicture(QWidget* parent);

}  // namespace vorlin
