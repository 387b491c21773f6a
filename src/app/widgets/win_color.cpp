#include "app/widgets/win_color.h"

#include <QApplication>

namespace dw {

QColor toQColor(WinColor c) {
    if (c & 0x80000000u) {
        const QPalette pal = QApplication::palette();
        switch (c & 0xFFu) {
        case 5:
            return pal.color(QPalette::Base);
        case 8:
            return pal.color(QPalette::Text);
        case 13:
            return pal.color(QPalette::Highlight);
        case 14:
            return pal.color(QPalette::HighlightedText);
        case 15:
            return pal.color(QPalette::Button);
        case 16:
            return pal.color(QPalette::Dark);
        case 17:
            return pal.color(QPalette::PlaceholderText);
        case 18:
            return pal.color(QPalette::ButtonText);
        case 20:
            return pal.color(QPalette::Light);
        case 21:
            return pal.color(QPalette::Shadow);
        case 22:
            return pal.color(QPalette::Midlight);
        default:
            return pal.color(QPalette::Window);
        }
    }
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

WinColor fromQColor(const QColor& c) {
    return static_cast<WinColor>(c.red()) | (static_cast<WinColor>(c.green()) << 8) |
           (static_cast<WinColor>(c.blue()) << 16);
}

} // namespace dw
