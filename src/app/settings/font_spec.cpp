#include "app/settings/font_spec.h"

#include <QStringList>

namespace dw {

QFont toQFont(const FontSpec& spec) {
    QFont f;
    f.setFamily(QString::fromStdString(spec.name));
    if (spec.size > 0)
        f.setPointSize(spec.size);
    f.setBold(spec.bold);
    f.setItalic(spec.italic);
    f.setUnderline(spec.underline);
    f.setStrikeOut(spec.strikeOut);
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

QString fontDescription(const FontSpec& spec) {
    QStringList styles;
    if (spec.bold)
        styles << "Bold";
    if (spec.italic)
        styles << "Italic";
    if (spec.underline)
        styles << "Underline";
    if (spec.strikeOut)
        styles << "Strike-out";
    QString text = QString::fromStdString(spec.name);
    if (!styles.isEmpty())
        text += ", " + styles.join(' ');
    return text;
}

} // namespace dw
