#pragma once

#include "core/settings/options.h"

#include <QColor>
#include <QPalette>

namespace dw {

// A Windows colour value (0x00BBGGRR, or 0x80000000 plus a system colour index) as a
// QColor, system colours taken from the application palette so they follow the theme.
QColor toQColor(WinColor c);
// A plain colour as 0x00BBGGRR.
WinColor fromQColor(const QColor& c);

// System colour indices the program uses.
namespace SysColor {
constexpr WinColor Window = 0x80000005;
constexpr WinColor WindowText = 0x80000008;
constexpr WinColor Highlight = 0x8000000D;
constexpr WinColor HighlightText = 0x8000000E;
constexpr WinColor ButtonFace = 0x8000000F;
constexpr WinColor GrayText = 0x80000011;
constexpr WinColor ButtonText = 0x80000012;
constexpr WinColor ButtonLight = 0x80000014;
} // namespace SysColor

} // namespace dw
