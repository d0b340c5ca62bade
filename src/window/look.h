#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

class QWidget;

namespace velmora {

// The layout is designed in twips, 15 to a logical pixel; Qt's high-DPI scaling maps logical
// pixels onto the screen, so the whole window scales evenly.
constexpr int kTwipsPerPixel = 15;

constexpr int Twips(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

constexpr QRect TwipsRect(int left, int top, int width, int height) {
    return {Twips(left), Twips(top), Twips(width), Twips(height)};
}

// Colours are given as 0x00BBGGRR.
inline QColor FromBgr(unsigned int bgr) {
    return QColor::fromRgb(static_cast<int>(bgr & 0xFFu), static_cast<int>((bgr >> 8) & 0xFFu),
                           static_cast<int>((bgr >> 16) & 0xFFu));
}
unsigned int ToBgr(const QColor& color);

inline constexpr unsigned int kRed = 255;
inline constexpr unsigned int kBlue = 0xFF0000;

// Song-style CJK face at a size in points; never falls back to a sans face.
QFont SongFont(qreal points, bool bold = false);

void SetForeColor(QWidget& widget, unsigned int bgr);
unsigned int ForeColor(const QWidget& widget);

}  // namespace velmora
