#include "app/settings/font_spec.h"

#include <QStringList>

namespace dw {

QFont toQFont(const FontSpec& fontSpec) {
    QFont f;
    f.setFamily(QString::fromStdString(fontSpec.name));
    if (fontSpec.size > 0)
        f.setPointSize(fontSpec.size);
    f.setBold(fontSpec.bold);
    f.setItalic(fontSpec.italic);
    f.setUnderline(fontSpec.underline);
    f.setStrikeOut(fontSpec.strikeOut);
    return f;
}

FontSpec fromQFont(const QFont& font) {
    FontSpec s;
    // The family asked for, not the one substituted for it, so an absent face round-trips.
    s.name = font.family().toStdString();
    // Fractional and pixel-sized fonts come back as whole points.
    const double points = font.pointSizeF();
    if (points > 0) {
        s.size = static_cast<int>(points + 0.5);
    } else if (font.pixelSize() > 0) {
        s.size = std::max(1, font.pixelSize() * 72 / 96);
    }
    s.bold = font.bold();
    s.italic = font.italic();
    s.underline = font.underline();
    s.strikeOut = font.strikeOut();
    return s;
}

QString fontDescription(const FontSpec& fontSpec) {
    QStringList styles;
    if (fontSpec.bold)
        styles << "Bold";
    if (fontSpec.italic)
        styles << "Italic";
    if (fontSpec.underline)
        styles << "Underline";
    if (fontSpec.strikeOut)
        styles << "Strike-out";
    QString text = QString::fromStdString(fontSpec.name);
    if (!styles.isEmpty())
        text += ", " + styles.join(' ');
    return text;
}

} // namespace dw
