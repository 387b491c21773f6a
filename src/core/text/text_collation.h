#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace dw {

// Orders texts the way the user's language does, without regard to letter case: in English
// "École" falls between "Dentist" and "Family". Texts that differ only in case compare
// equal here; callers that need one fixed order break the tie themselves.
class TextCollator {
public:
    // The collation of a locale ("en_US", "de_DE", "sv_SE"); an empty name is the user's
    // own, from the environment (LC_ALL, LC_COLLATE, LANG), as ICU reads it.
    explicit TextCollator(const std::string& localeName = {});
    ~TextCollator();
    TextCollator(const TextCollator&) = delete;
    TextCollator& operator=(const TextCollator&) = delete;

    // Negative, zero or positive. A text that is not valid UTF-8 sorts by its bytes, after
    // the valid ones that compare equal to it up to there.
    int compare(std::string_view a, std::string_view b) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The user's collation, made once for the run.
const TextCollator& userCollator();

} // namespace dw
