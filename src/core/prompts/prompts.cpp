#include "core/prompts/prompts.h"

#include <cstdio>

namespace dw {

namespace {

class StderrPrompts : public Prompts {
public:
    void error(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    void info(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    bool askYesNo(const std::string&, const std::string&) override { return false; }
    bool inputText(const std::string&, const std::string&, std::string&) override {
        return false;
    }
    std::string openFileName(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    std::string saveFileName(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
};

StderrPrompts fallbackPrompts;
Prompts* current = nullptr;

} // namespace

Prompts& prompts() { return current ? *current : fallbackPrompts; }
void setPrompts(Prompts* p) { current = p; }

void showError(const std::string& text) { prompts().error(text); }
void showInfo(const std::string& text) { prompts().info(text); }

} // namespace dw
