#include "core/output/table_writers.h"
#include "support/table_rows.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace dw {
namespace {

using test::TempDir;

CellTable dayTable(const std::vector<std::vector<std::string>>& rows) {
    CellTable t(5, 1);
    const char* headers[] = {"Time", "Category", "What", "Done?", "Alarm?"};
    for (int c = 0; c < 5; ++c)
        t.setCell(c, 0, headers[c]);
    test::setDataRows(t, rows);
    return t;
}

TEST(HtmlTable, EmptyDayIsHeaderAndOneRowOfBreaks) {
    const CellTable t = dayTable({{"", "", "", "", ""}});
    const std::string h = "<td nowrap BGCOLOR=\"#D4D0C8\"><B>";
    EXPECT_EQ(htmlTableText(t),
              "<table border=1>\r\n<tr>\r\n" + h + "Time</B></td>\r\n" + h +
                  "Category</B></td>\r\n" + h + "What</B></td>\r\n" + h + "Done?</B></td>\r\n" + h +
                  "Alarm?</B></td>\r\n</tr>\r\n<tr>\r\n" +
                  "<td nowrap><br></td>\r\n<td nowrap><br></td>\r\n<td nowrap><br></td>\r\n"
                  "<td nowrap><br></td>\r\n<td nowrap><br></td>\r\n</tr>\r\n</table><p>\r\n");
}

TEST(HtmlTable, CellTextsAreEscapedAndLineBreaksKept) {
    const struct {
        std::string text, html;
    } cases[] = {
        {"a < b & c", "a &lt; b &amp; c"},
        {"<script>alert(\"x\")</script>", "&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;"},
        {"line 1\r\nline 2\r\n", "line 1<br>\nline 2<br>\n"},
        {"plain, with comma", "plain, with comma"},
        {"", "<br>"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(htmlCellText(c.text), c.html) << c.text;
        const std::string file = htmlTableText(dayTable({{"9:00 AM", "Work", c.text, "No", "No"}}));
        EXPECT_NE(file.find("<td nowrap>" + c.html + "</td>\r\n"), std::string::npos) << c.text;
    }
}

TEST(CommaDelimited, FieldsFollowRfc4180) {
    const struct {
        std::string text, field;
    } cases[] = {
        {"", "\"\""},
        {"bare text", "bare text"},
        {"milk, eggs", "\"milk, eggs\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"first\r\nsecond\r\n", "\"first\r\nsecond\r\n\""},
        {"a\nb", "\"a\nb\""},
    };
    for (const auto& c : cases) {
        CellTable t(2, 1);
        t.setCell(0, 0, "H1");
        t.setCell(1, 0, "H2");
        test::setDataRows(t, {{c.text, "x"}});
        EXPECT_EQ(commaDelimitedText(t), "H1,H2\r\n" + c.field + ",x\r\n") << c.text;
    }
}

TEST(CommaDelimited, EmptyDayIsHeaderAndEmptyFields) {
    EXPECT_EQ(commaDelimitedText(dayTable({{"", "", "", "", ""}})),
              "Time,Category,What,Done?,Alarm?\r\n\"\",\"\",\"\",\"\",\"\"\r\n");
}

TEST(TableWriters, WriteReplacesFileAndAnswersWhatCannotBeCreated) {
    TempDir dir;
    dir.write("out.txt", "old content that is longer than the new one");
    const CellTable t = dayTable({{"9:00 AM", "Work", "Report", "No", "Yes"}});
    ASSERT_TRUE(writeCommaDelimited(t, dir.file("out.txt")));
    EXPECT_EQ(dir.read("out.txt"), commaDelimitedText(t));
    ASSERT_TRUE(writeHtmlTable(t, dir.file("out.htm")));
    EXPECT_EQ(dir.read("out.htm"), htmlTableText(t));

    const std::string missing = dir.file("no/such/folder/out.htm");
    const std::vector<std::string> cannot{"Cannot create file " + missing};
    EXPECT_EQ(writeHtmlTable(t, missing).messages(), cannot);
    EXPECT_EQ(writeCommaDelimited(t, missing).messages(), cannot);
}

} // namespace
} // namespace dw
