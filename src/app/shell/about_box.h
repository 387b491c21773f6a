#pragma once

#include <QString>

class QWidget;

namespace dw {

// The About box text: the program, what it is, and its version.
QString aboutText();

// Help > About: a modal box with aboutText().
void showAboutBox(QWidget* parent);

} // namespace dw
