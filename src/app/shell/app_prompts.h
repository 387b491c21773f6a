#pragma once

#include "core/common/status.h"
#include "core/prompts/prompts.h"

#include <string>

namespace dw {

// The program's prompts: the window's dialogs once start-up installs them, a test's scripted
// answers while it runs. Until one is installed, errors and information go to stderr and
// every question is answered "No".
Prompts& prompts();
void setPrompts(Prompts* p);

void showError(const std::string& text);
void showInfo(const std::string& text);

// A failure the core answered, shown as the core's messages always were: each in an error
// box of its own. Answers whether there was one.
bool showErrors(const Status& status);

} // namespace dw
