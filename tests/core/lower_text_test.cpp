#include "core/store/category_list.h"
#include "core/text/lower_text.h"
#include "core/text/text_collation.h"

#include <gtest/gtest.h>

namespace dw {
namespace {

TEST(FoldCase, FoldsEveryScriptFully) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"", ""},
        {"JANUARY 1st, Monday!", "january 1st, monday!"},
        {"FÉVRIER", "février"},
        {"ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞ", "àáâãäåæçèéêëìíîïðñòóôõöøùúûüýþ"},
        {"Straße", "strasse"}, // full folding: sharp s is "ss"
        {"ŚRODA ČTVRTEK ŁÓDŹ ŸÖ", "środa čtvrtek łódź ÿö"},
        {"ЯНВАРЬ ЁЖ", "январь ёж"},
        {"ΑΠΡΙΛΙΟΣ", "απριλιοσ"},
        {"€URO 日本", "€uro 日本"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(foldCase(c.in), c.out);
    }
    EXPECT_EQ(foldCase("ÉCOLE"), foldCase("école"));
    EXPECT_EQ(foldCase("STRASSE"), foldCase("Straße"));
}

TEST(FoldCase, BytesThatAreNotUtf8FoldOnlyTheirAsciiLetters) {
    // A lone lead byte, a lead byte before a letter, Windows-1252 capitals, an overlong form.
    EXPECT_EQ(foldCase("AB\xC3"), "ab\xC3");
    EXPECT_EQ(foldCase("\xC3Z"), "\xC3z");
    EXPECT_EQ(foldCase("\xC9T\xC9"), "\xC9t\xC9");
    EXPECT_EQ(foldCase("\xC1\x81"), "\xC1\x81");
    // Two different broken texts never fold alike.
    EXPECT_NE(foldCase("a\xC3"), foldCase("a\xC4"));
}

TEST(LowerCase, LowersForReadingWithoutFolding) {
    EXPECT_EQ(lowerCase("9:00 AM"), "9:00 am");
    EXPECT_EQ(lowerCase("NACHM. STRAßE"), "nachm. straße");
    EXPECT_EQ(lowerCase("\xC9T\xC9"), "\xC9t\xC9");
}

TEST(TextCollation, ListsSortByTheLanguageWithoutRegardToCase) {
    const TextCollator english("en_US");
    std::vector<std::string> entries = {"zebra", "Family", "École", "dentist", "DENTIST", "apple"};
    sortEntries(entries, english);
    EXPECT_EQ(entries, (std::vector<std::string>{"apple", "DENTIST", "dentist", "École", "Family",
                                                 "zebra"}));
    EXPECT_EQ(english.compare("école", "ÉCOLE"), 0);
    EXPECT_LT(english.compare("ecole", "école"), 0); // accents still count
    // Swedish puts Ö after Z; English does not.
    const TextCollator swedish("sv_SE");
    EXPECT_GT(swedish.compare("Öl", "Zebra"), 0);
    EXPECT_LT(english.compare("Öl", "Zebra"), 0);
    // A broken text sorts by its bytes rather than as a replacement character.
    EXPECT_NE(english.compare("a\xC3", "a\xC4"), 0);
}

TEST(TextCollation, EntriesAreTheSameWhatEverTheirCase) {
    EXPECT_TRUE(sameEntry("École", "ÉCOLE"));
    EXPECT_TRUE(sameEntry("Straße", "STRASSE"));
    EXPECT_FALSE(sameEntry("Ecole", "École"));
    const std::vector<std::string> entries = {"Work", "École"};
    EXPECT_EQ(findEntry(entries, "école"), 1u);
}

} // namespace
} // namespace dw
