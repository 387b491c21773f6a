#include "app/shell/app_prompts.h"

namespace dw {

bool showErrors(Prompts& prompts, const Status& status) {
    for (const std::string& message : status.messages())
        prompts.error(message);
    return !status.ok();
}

} // namespace dw
