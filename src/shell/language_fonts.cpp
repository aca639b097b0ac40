#include "shell/language_fonts.h"

#include <QStringList>

namespace vorlin {

namespace {

constexpr int kLanguageSimplifiedChinese = 0;
constexpr int kLanguageTraditionalChinese = 2;
constexpr int kLanguageThai = 15;
constexpr int kNoLanguage = -1;

constexpr UiFontSize kSizes[] = {
    {0, 15, false},  {kDefaultFontId, 14, false},
    {1, 14, true},   {2, 18, false},
    {3, 30, false},  {4, 16, false},
    {5, 20, false},  {6, 22, false},
    {7, 14, false},  {8, 12, false},
    {9, 11, false},  {10, 10, false},
    {11, 28, false}, {50, 13, false},
};

bool HasOwnFace(int index) {
  return index == kLanguageSimplifiedChinese || index == kLanguageTraditionalChinese ||
         index == kLanguageThai;
}

}  // namespace

std::span<const UiFontSize> UiFontSizes() {
  return kSizes;
}

std::optional<QString> FontFaceForLanguageChange(int new_index, int current_index) {
  switch (new_index) {
    case kLanguageThai:
      return QString::fromUtf16(kFaceThai);
    case kLanguageSimplifiedChinese:
      return QString::fromUtf16(kFaceSimplifiedChinese);
    case kLanguageTraditionalChinese:
      return QString::fromUtf16(kFaceTraditionalChinese);
    default:
      // The shared face is already in use unless the language before had its own (or none).
      if (current_index == kNoLanguage || HasOwnFace(current_index)) {
        return QString::fromUtf16(kFaceOther);
      }
      return std::nullopt;
  }
}

std::vector<UiFont> BuildUiFonts(const QString& face) {
  std::vector<UiFont> fonts;
  fonts.reserve(std::size(kSizes));
  for (const UiFontSize& size : kSizes) {
    QFont font(face);
    font.setPixelSize(size.pixel_size);
    font.setUnderline(size.underline);
    font.setBold(false);
    font.setItalic(false);
    fonts.push_back({size.id, font});
  }
  return fonts;
}

void RegisterFontSubstitutes() {
  const QString latin = QStringLiteral("DejaVu Sans");
  QFont::insertSubstitutions(QString::fromUtf16(kFaceOther), {latin, QStringLiteral("Noto Sans")});
  QFont::insertSubstitutions(QString::fromUtf16(kFaceSimplifiedChinese),
                             {QStringLiteral("Noto Sans CJK SC"), latin});
  QFont::insertSubstitutions(QString::fromUtf16(kFaceTraditionalChinese),
                             {QStringLiteral("Noto Sans CJK TC"), latin});
  QFont::insertSubstitutions(QString::fromUtf16(kFaceThai),
                             {QStringLiteral("Noto Sans Thai UI"), latin});
}

}  // namespace vorlin
