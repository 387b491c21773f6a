#include "core/settings/settings_store.h"

#include <gtest/gtest.h>

namespace dw {
namespace {

struct IntCase {
    const char* stored; // nullptr: no value
    int def;
    int expected;
};

TEST(SettingsStore, ReadsIntegersByTheStoreRules) {
    const IntCase cases[] = {
        {nullptr, 16, 16},                                // missing
        {"42", 0, 42},                                    // decimal
        {"-17", 0, -17},                                  // signed
        {"+5", 0, 5},                                     //
        {"0xFF", 7, 255},                                 // hexadecimal
        {"0Xff", 7, 255},                                 // either case
        {"0x80000005", 7, static_cast<int>(0x80000005u)}, // a system colour's bit pattern
        {"0x", 7, 7},                                     // two characters are not hexadecimal
        {"0xG1", 7, 7},                                   //
        {"0x123456789", 7, 7},                            // does not fit
        {"red", 3, 3},                                    // not a number
        {"", 3, 3},                                       //
        {"12 ", 3, 3},                                    // trailing junk
        {" 12", 3, 3},                                    //
        {"-", 3, 3},                                      //
        {"2147483647", 0, 2147483647},
        {"2147483648", 9, 9}, // overflow gives the default, not a wrapped number
        {"-2147483648", 0, -2147483647 - 1},
        {"1e3", 9, 9},
    };
    for (const auto& c : cases) {
        MapSettingsBackend b;
        SettingsStore s(b);
        if (c.stored)
            b.setValue("Options", "Value", c.stored);
        EXPECT_EQ(s.readInteger("Options", "Value", c.def), c.expected)
            << "stored: " << (c.stored ? c.stored : "(none)");
    }
}

TEST(SettingsStore, ReadsFlagsAsIntegersTrueWhenNotZero) {
    struct Case {
        const char* stored;
        bool def;
        bool expected;
    } const cases[] = {
        {nullptr, true, true}, {nullptr, false, false}, {"1", false, true},
        {"0", true, false},    {"2", false, true},      {"-1", false, true},
        {"yes", false, false}, {"yes", true, true},     {"0x0", true, false},
    };
    for (const auto& c : cases) {
        MapSettingsBackend b;
        SettingsStore s(b);
        if (c.stored)
            b.setValue("Options", "Flag", c.stored);
        EXPECT_EQ(s.readBool("Options", "Flag", c.def), c.expected)
            << "stored: " << (c.stored ? c.stored : "(none)") << " default " << c.def;
    }
}

TEST(SettingsStore, WritesDecimalAndOneZeroAndTextsAsTheyAre) {
    MapSettingsBackend b;
    SettingsStore s(b);
    EXPECT_TRUE(s.writeInteger("Options", "RowHeight", -20));
    EXPECT_TRUE(s.writeInteger("Options", "Color", static_cast<int>(0x80000005u)));
    EXPECT_TRUE(s.writeBool("Options", "On", true));
    EXPECT_TRUE(s.writeBool("Options", "Off", false));
    EXPECT_TRUE(s.writeString("Options", "Text", " two words "));
    EXPECT_EQ(b.value("Options", "RowHeight"), "-20");
    EXPECT_EQ(b.value("Options", "Color"), "-2147483643");
    EXPECT_EQ(b.value("Options", "On"), "1");
    EXPECT_EQ(b.value("Options", "Off"), "0");
    EXPECT_EQ(s.readString("Options", "Text", "x"), " two words ");
    // A written system colour reads back as the same colour value.
    EXPECT_EQ(static_cast<unsigned>(s.readInteger("Options", "Color", 0)), 0x80000005u);
}

TEST(SettingsStore, NamesIgnoreCaseAndSectionsAreSeparate) {
    MapSettingsBackend b;
    SettingsStore s(b);
    s.writeString("OPTIONS", "category", "Work");
    EXPECT_EQ(s.readString("options", "CATEGORY", ""), "Work");
    EXPECT_EQ(s.readString("Filter", "Category", "none"), "none");
    EXPECT_EQ(s.readString("", "Category", "none"), "none");
    s.writeString("Options", "Category", "Home"); // overwrites, no second entry
    EXPECT_EQ(b.values().size(), 1u);
    EXPECT_EQ(s.readString("Options", "Category", ""), "Home");
    b.remove("oPtIoNs", "CATEGORY");
    EXPECT_EQ(s.readString("Options", "Category", "gone"), "gone");
}

} // namespace
} // namespace dw
