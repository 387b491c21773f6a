#pragma once

#include "core/settings/options.h"

#include <QFont>
#include <QString>

namespace dw {

// A stored font as a QFont and back. A face that is not installed is left to Qt's font
// matching, so a setting from another machine still shows in something close.
QFont toQFont(const FontSpec& fontSpec);
FontSpec fromQFont(const QFont& font);

// "Times New Roman, Bold Italic": the face and its style names, for captions and hints.
QString fontDescription(const FontSpec& fontSpec);

} // namespace dw
