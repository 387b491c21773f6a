#pragma once

#include "core/common/status.h"
#include "core/prompts/prompts.h"

namespace dw {

// A failure the core answered, shown as the core's messages always were: each in an error
// box of its own. Answers whether there was one.
bool showErrors(Prompts& prompts, const Status& status);

} // namespace dw
