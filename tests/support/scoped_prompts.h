#pragma once

#include "app/shell/app_prompts.h"
#include "support/fake_prompts.h"

namespace dw::test {

// The program's prompts for as long as it lives.
class ScopedPrompts {
public:
    explicit ScopedPrompts(Prompts& p) { setPrompts(&p); }
    ~ScopedPrompts() { setPrompts(nullptr); }
    ScopedPrompts(const ScopedPrompts&) = delete;
    ScopedPrompts& operator=(const ScopedPrompts&) = delete;
};

} // namespace dw::test
