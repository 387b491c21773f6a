#include "core/text/lower_text.h"

#include <gtest/gtest.h>

namespace dw {
namespace {

TEST(LowerText, LowersTheCapitalsOfNames) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"", ""},
        {"JANUARY 1st, Monday!", "january 1st, monday!"},
        {"FÉVRIER", "février"},
        {"ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞ", "àáâãäåæçèéêëìíîïðñòóôõöøùúûüýþ"},
        {"×÷ß", "×÷ß"}, // signs and sharp s have no other case
        {"ŚRODA ČTVRTEK ŁÓDŹ ŸÖ", "środa čtvrtek łódź ÿö"},
        {"İ", "İ"}, // its lower case is two characters
        {"ЯНВАРЬ ЁЖ", "январь ёж"},
        {"ΑΠΡΙΛΙΟΣ", "απριλιοσ"},
        {"€URO 日本", "€uro 日本"}, // longer characters pass and do not hide what follows
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(lowerText(c.in), c.out);
    }
}

TEST(LowerText, BytesThatAreNotUtf8PassUnchanged) {
    // A lone lead byte at the end, a lead byte before a plain letter, Windows-1252 capitals.
    EXPECT_EQ(lowerText("AB\xC3"), "ab\xC3");
    EXPECT_EQ(lowerText("\xC3Z"), "\xC3z");
    EXPECT_EQ(lowerText("\xC9T\xC9"), "\xC9t\xC9");
    // Overlong forms are not characters.
    EXPECT_EQ(lowerText("\xC1\x81"), "\xC1\x81");
}

} // namespace
} // namespace dw
