#include "app/editing/spell_check_dialog.h"
#include "app/modal_helpers.h"
#include "support/fake_prompts.h"
#include "support/temp_dir.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace dw {
namespace {

using test::FakePrompts;
using test::TempDir;
using test::whenModal;

class SpellCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        dict = findEnglishDictionary();
        if (dict.empty())
            GTEST_SKIP() << "no English dictionary installed (package hunspell-en-us)";
    }
    std::string personal() const { return dir.file("words.dic"); }

    TempDir dir;
    FakePrompts prompts;
    std::string dict;
    QPlainTextEdit field;
};

TEST_F(SpellCheckTest, ChangeCorrectsTheTextInPlace) {
    field.setPlainText("I recieve teh letter today.\nÜber naïve café.");
    SpellChecker checker(dict, personal());
    SpellCheckDialog dlg(checker, &field, prompts);
    ASSERT_TRUE(dlg.findNext());
    EXPECT_EQ(dlg.currentWord(), "recieve");
    EXPECT_EQ(field.textCursor().selectedText(), "recieve") << "shown in the text";
    bool offered = false;
    for (int i = 0; i < dlg.suggestionList()->count(); ++i)
        offered = offered || dlg.suggestionList()->item(i)->text() == "receive";
    EXPECT_TRUE(offered);
    dlg.changeToEdit()->setText("receive");
    dlg.changeButton()->click();

    EXPECT_EQ(dlg.currentWord(), "teh");
    dlg.changeToEdit()->setText("the");
    dlg.changeButton()->click();

    // Words of other scripts are looked up too: the walk goes on past them or stops at
    // them, but positions stay right either way.
    while (!dlg.currentWord().isEmpty())
        dlg.ignoreButton()->click();
    EXPECT_EQ(field.toPlainText(), "I receive the letter today.\nÜber naïve café.");
    EXPECT_EQ(dlg.result(), QDialog::Accepted) << "closes at the end";
}

TEST_F(SpellCheckTest, IgnoreSkipsOneOccurrenceIgnoreAllEvery) {
    field.setPlainText("zorblat met zorblat and qwxvy met qwxvy");
    SpellChecker checker(dict, personal());
    SpellCheckDialog dlg(checker, &field, prompts);
    ASSERT_TRUE(dlg.findNext());
    EXPECT_EQ(dlg.currentWord(), "zorblat");
    dlg.ignoreButton()->click();
    EXPECT_EQ(dlg.currentWord(), "zorblat") << "the second one still stops";
    dlg.ignoreButton()->click();
    EXPECT_EQ(dlg.currentWord(), "qwxvy");
    dlg.ignoreAllButton()->click();
    EXPECT_TRUE(dlg.currentWord().isEmpty()) << "the second qwxvy is ignored too";
    EXPECT_EQ(field.toPlainText(), "zorblat met zorblat and qwxvy met qwxvy");
}

TEST_F(SpellCheckTest, AddWritesThePersonalListThatLaterChecksKnow) {
    field.setPlainText("Dayweaverish is a word. Zorblat too.");
    {
        SpellChecker checker(dict, personal());
        SpellCheckDialog dlg(checker, &field, prompts);
        ASSERT_TRUE(dlg.findNext());
        EXPECT_EQ(dlg.currentWord(), "Dayweaverish");
        dlg.addButton()->click();
        EXPECT_EQ(dlg.currentWord(), "Zorblat");
        dlg.addButton()->click();
    }
    EXPECT_EQ(dir.read("words.dic"), "Dayweaverish\r\nZorblat\r\n");
    SpellChecker later(dict, personal());
    EXPECT_TRUE(later.isCorrect("Dayweaverish"));
    EXPECT_TRUE(later.isCorrect("Zorblat"));
    EXPECT_FALSE(later.isCorrect("Blorptang"));
}

TEST_F(SpellCheckTest, FieldCheckReportsTheEnd) {
    field.setPlainText("Plant the roses.");
    spellCheckField(&field, dir.path(), prompts, nullptr, 0, dict);
    EXPECT_EQ(prompts.infos, std::vector<std::string>{"The spelling check is complete."});

    field.setPlainText("Plant teh roses.");
    whenModal<SpellCheckDialog>([](SpellCheckDialog* d) {
        d->changeToEdit()->setText("the");
        d->changeButton()->click();
    });
    spellCheckField(&field, dir.path(), prompts, nullptr, 0, dict);
    EXPECT_EQ(field.toPlainText(), "Plant the roses.");
    EXPECT_EQ(prompts.infos.size(), 2u);
}

TEST_F(SpellCheckTest, AChangeKeepsToTheFieldsLimit) {
    field.setPlainText("go teh end"); // 10 characters, limit 12
    SpellChecker checker(dict, personal());
    SpellCheckDialog dlg(checker, &field, prompts, nullptr, 12);
    ASSERT_TRUE(dlg.findNext());
    ASSERT_EQ(dlg.currentWord(), "teh");
    dlg.changeToEdit()->setText("theeeee");
    dlg.changeButton()->click();
    EXPECT_EQ(field.toPlainText(), "go theee end");
}

TEST(SpellCheck, WithoutADictionaryItSaysSoAndChangesNothing) {
    TempDir dir;
    FakePrompts prompts;
    QPlainTextEdit field;
    field.setPlainText("Plant teh roses.");
    spellCheckField(&field, dir.path(), prompts, nullptr, 0, dir.file("no_dictionary"));
    ASSERT_EQ(prompts.infos.size(), 1u);
    EXPECT_NE(prompts.infos[0].find("dictionary"), std::string::npos);
    EXPECT_EQ(field.toPlainText(), "Plant teh roses.");
}

} // namespace
} // namespace dw
