#pragma once

// The colour window ("ColorSelectWnd", layout "PalletDialog.xml"): the colour picker that the
// lighting panel's colour button opens. The user picks a colour from the palette, types its red,
// green and blue numbers, or takes one of the 20 preset colours ("color_option_0".."19") or of
// their collected colours ("collect_color_option_" + index, added with "collect_color_add" and
// removed with "collect_color_remove"); "7color" and "7color_collect" choose the multi-colour
// effect instead of one colour. "okbtn" closes with code 1 and the colour (code 2 when the layout
// has no palette), "closebtn", "cancel_btn", Escape and closing the window with code 0.

#include <memory>

#include <QColor>
#include <QObject>

#include "lighting/colour_options.h"
#include "ui/notification.h"

class QDialog;
class QWidget;

namespace vorlin {

// Close codes of the colour window.
inline constexpr int kColorSelectCancelled = 0;
inline constexpr int kColorSelectChosen = 1;
inline constexpr int kColorSelectNoPalette = 2;

struct ColorSelectResult {
  int code = kColorSelectCancelled;
  QColor colour;              // opaque; meaningful with code 1
  bool multi_colour = false;  // the multi-colour effect was chosen
};

class CColorSelectWnd : public QObject, public NotifyHandler {
  Q_OBJECT

 public:
  // The window over `owner` (may be null) with the colour options of `store`. Window() is null
  // when the skin's layout cannot be built; Exec() then returns code 0 at once.
  CColorSelectWnd(QWidget* owner, ColourOptionStore store);
  ~CColorSelectWnd() override;
  CColorSelectWnd(const CColorSelectWnd&) = delete;
  CColorSelectWnd& operator=(const CColorSelectWnd&) = delete;

  // Runs the window modally with the program's colour options and returns how it was closed.
  static ColorSelectResult SelectColour(QWidget* owner, const QColor& initial, bool multi_colour,
                                        int dpi = 96);

  // The colour the window starts with (alpha is ignored) and whether multi-colour is chosen.
  void SetColour(const QColor& colour, bool multi_colour);
  void SetDpi(int dpi);

  // Shows the window modally until it is closed and returns the result.
  ColorSelectResult Exec();
  // Shows it without blocking (tests drive it by its controls); Result() after it is closed.
  void Show();
  ColorSelectResult Result() const;

  QColor Colour() const { return QColor::fromRgb(colour_); }
  bool MultiColour() const { return multi_colour_; }
  const ColourOptions& Options() const { return options_; }
  QDialog* Window() const { return dialog_.get(); }

  void Notify(const Notification& notification) override;

 private:
  enum class Choice { kNone, kPreset, kCollected };

  void ChoosePreset(int index);
  void ChooseCollected(int index);
  void SetMultiColour(bool on);
  void TakeEditedNumbers();
  void NormaliseEdit(QWidget* edit);
  void TakePaletteColour();
  void AddCurrentToCollection();
  void RemoveChosenCollected();
  void Close(int code);
  void PrepareToShow();

  // Puts `rgb` into the state and the palette, edits and preview; multi-colour ends.
  void SetCurrentColour(QRgb rgb, bool update_palette, bool update_edits);
  void SetChoice(Choice choice, int index);
  // The choice that matches the current colour (the stored selections first).
  void ChooseMatchingSwatch();
  void ShowOptions();
  void ShowPreview();
  void ShowEdits();
  void ShowStatus(const QString& text_key);
  void SaveOptions();

  QWidget* owner_;
  std::unique_ptr<QDialog> dialog_;
  ColourOptionStore store_;
  ColourOptions options_;
  ColourOptions saved_options_;
  QRgb colour_ = 0xFFFF0000;
  bool multi_colour_ = false;
  Choice choice_ = Choice::kNone;
  int choice_index_ = -1;
};

}  // namespace vorlin
