#pragma once

#include <cstdint>

#include <QImage>
#include <QRect>

class QPainter;

namespace vorlin {

// A light image (a grey or white shape on transparency) coloured with a light colour word (see
// light_colour.h) at a level from 0 to 255. Each pixel takes the colour scaled by the pixel's
// brightness (its brightest channel), and the pixel's opacity scaled by level / 255: level 0
// leaves nothing visible, 255 gives the full colour over the image's own shape. Levels outside
// 0-255 are clamped. The result is in ARGB32 (not premultiplied).
QImage TintImage(const QImage& light, uint32_t colour_word, int level);

// Draws `light` tinted into `target` (scaled to fit). Null images draw nothing.
void DrawTintedImage(QPainter& painter, const QRect& target, const QImage& light,
                     uint32_t colour_word, int level);

}  // namespace vorlin
