#include "app/shell/app_prompts.h"

#include <cstdio>

namespace dw {

namespace {

class StderrPrompts : public UnattendedPrompts {
public:
    void error(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    void info(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
};

StderrPrompts fallbackPrompts;
Prompts* current = nullptr;

} // namespace

Prompts& prompts() {
    return current ? *current : fallbackPrompts;
}
void setPrompts(Prompts* p) {
    current = p;
}

void showError(const std::string& text) {
    prompts().error(text);
}
void showInfo(const std::string& text) {
    prompts().info(text);
}

bool showErrors(const Status& status) {
    for (const std::string& message : status.messages())
        showError(message);
    return !status.ok();
}

} // namespace dw
