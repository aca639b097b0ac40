#pragma once

#include <optional>
#include <span>
#include <vector>

#include <QFont>
#include <QString>

namespace vorlin {

// The interface fonts: a table of font ids (layouts refer to fonts by id) plus a default font,
// all in one face that depends on the language.
inline constexpr int kDefaultFontId = -1;

struct UiFontSize {
  int id;  // kDefaultFontId for the default font
  int pixel_size;
  bool underline;
};

struct UiFont {
  int id;
  QFont font;
};

// The fonts' ids and sizes, in the order they are added.
std::span<const UiFontSize> UiFontSizes();

// The faces the languages use.
inline constexpr char16_t kFaceSimplifiedChinese[] = u"汉仪菱心体简";               // language 0
inline constexpr char16_t kFaceTraditionalChinese[] = u"Noto Sans CJK TC Regular";  // 2
inline constexpr char16_t kFaceThai[] = u"Noto Sans Thai";                          // 15
inline constexpr char16_t kFaceOther[] = u"Verdana Unicode MS";

// The face to switch to when the language goes from `current_index` (-1: none applied yet) to
// `new_index`, or nullopt when the fonts stay as they are. The faces of languages 0, 2 and 15
// are their own; every other language shares one face, so moving between two of those keeps the
// fonts.
std::optional<QString> FontFaceForLanguageChange(int new_index, int current_index);

// The whole font table in `face`.
std::vector<UiFont> BuildUiFonts(const QString& face);

// The faces above are names the layouts and language settings use; none of them is shipped. This
// maps each to the free families that stand in for it (the program's DejaVu Sans, the desktop's
// Noto fonts), so that asking for the name gives a predictable font. Call once at start-up.
void RegisterFontSubstitutes();

}  // namespace vorlin
