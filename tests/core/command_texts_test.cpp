// What the command line reads from its arguments and how its listings print stored texts.
#include "core/commands/command_args.h"
#include "core/commands/listing_text.h"

#include <cmath>
#include <gtest/gtest.h>

namespace dw {
namespace {

TEST(TimeArgument, ReadsTheTimesPeopleType) {
    const struct {
        const char* text;
        int minutes;
    } cases[] = {
        {"9:00", 9 * 60},
        {"09:00", 9 * 60},
        {"21:30", 21 * 60 + 30},
        {"0:00", 0},
        {"23:59", 23 * 60 + 59},
        {"9:30pm", 21 * 60 + 30},
        {"9:30 PM", 21 * 60 + 30},
        {"9:30 am", 9 * 60 + 30},
        {"9:30AM", 9 * 60 + 30},
        {"1:05 Pm", 13 * 60 + 5},
        {"09:30 pm", 21 * 60 + 30},
        {"12:00 AM", 0},
        {"12:30am", 30},
        {"12:00 PM", 12 * 60},
        {"12:59 pm", 12 * 60 + 59},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(std::lround(parseTimeArgument(c.text) * 1440), c.minutes);
    }
}

TEST(TimeArgument, RefusesAnythingElseNamingTheFormsItTakes) {
    const char* refused[] = {"25:99",
                             "24:00",
                             "9:60",
                             "pm",
                             "",
                             "9:3",
                             "930",
                             "9",
                             "13:00 pm",
                             "0:30 am",
                             "9:30  pm",
                             " 9:30",
                             "9:30 ",
                             "9:30 p",
                             "9:30p.m.",
                             "9:30pmx",
                             "+9:30",
                             "9:+3",
                             "123:00",
                             "9.30",
                             "9:30\x1b[31m",
                             "\xef\xbc\x99:30"};
    for (const char* text : refused) {
        SCOPED_TRACE(text);
        try {
            parseTimeArgument(text);
            ADD_FAILURE() << "read as a time";
        } catch (const UsageError& e) {
            EXPECT_NE(e.message.find("H:MM or HH:MM"), std::string::npos) << e.message;
            // The argument is shown, with no raw control character.
            EXPECT_EQ(e.message.find('\x1b'), std::string::npos) << e.message;
        }
    }
    try {
        parseTimeArgument("9:3");
    } catch (const UsageError& e) {
        EXPECT_EQ(e.message, "not a time: \"9:3\"; a time is H:MM or HH:MM, 24-hour (9:00, "
                             "21:30), or 12-hour with am or pm (9:30pm, 9:30 PM, 12:00 AM)");
    }
}

TEST(ListingText, ShowsControlCharactersAsEscapesAndLeavesOtherTextsAlone) {
    const struct {
        std::string stored;
        std::string field; // inside a record
        std::string line;  // a whole output, its TABs and line ends kept
    } cases[] = {
        {"Dentist", "Dentist", "Dentist"},
        {"Caf\xc3\xa9 \xe2\x82\xac", "Caf\xc3\xa9 \xe2\x82\xac", "Caf\xc3\xa9 \xe2\x82\xac"},
        {"C:\\temp\\xmas", "C:\\temp\\xmas", "C:\\temp\\xmas"},
        {"", "", ""},
        {"\x1b[31mred", "\\x1b[31mred", "\\x1b[31mred"},
        {std::string("a\0b", 3), "a\\x00b", "a\\x00b"},
        {"a\tb\nc\rd", "a\\x09b\\x0ac\\x0dd", "a\tb\nc\\x0dd"},
        {"bell\x07 del\x7f", "bell\\x07 del\\x7f", "bell\\x07 del\\x7f"},
        // A C1 control (here CSI) is two bytes in UTF-8; some terminals obey it.
        {"x\xc2\x9b"
         "2J",
         "x\\xc2\\x9b2J", "x\\xc2\\x9b2J"},
        // Bytes that are no UTF-8 are shown, not passed on.
        {"M\xfcller", "M\\xfcller", "M\\xfcller"},
        // A backslash that would read as an escape is itself escaped in a field, so a
        // field reads back one way only.
        {"\\x1b", "\\x5cx1b", "\\x1b"},
        {"\\\\x41", "\\\\x5cx41", "\\\\x41"},
        {"\\x4", "\\x4", "\\x4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(visibleField(c.stored), c.field);
        EXPECT_EQ(withoutRawControls(c.stored), c.line);
        // A whole output made of fields already shown stays as it is.
        EXPECT_EQ(withoutRawControls(visibleField(c.stored)), visibleField(c.stored));
    }
}

TEST(ListingText, FindsTheFirstControlCharacterOfATypedText) {
    const struct {
        std::string text;
        std::optional<ControlCharacter> found;
    } cases[] = {
        {"Plain text", std::nullopt},
        {"tab\tand\nnew\r\nlines", std::nullopt},
        {"Caf\xc3\xa9\x1b[0m", ControlCharacter{5, 0x1b}},
        {std::string("\0", 1), ControlCharacter{1, 0}},
        {"back\bspace", ControlCharacter{5, 0x08}},
        {"del\x7f", ControlCharacter{4, 0x7f}},
        {"\xe2\x82\xac\xc2\x9b", ControlCharacter{2, 0x9b}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(visibleField(c.text));
        const auto found = firstControlCharacter(c.text);
        ASSERT_EQ(found.has_value(), c.found.has_value());
        if (found) {
            EXPECT_EQ(found->position, c.found->position);
            EXPECT_EQ(found->codePoint, c.found->codePoint);
        }
    }
}

} // namespace
} // namespace dw
