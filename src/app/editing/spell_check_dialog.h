#pragma once

#include "core/common/status.h"
#include "core/prompts/prompts.h"

#include <QDialog>
#include <memory>
#include <set>
#include <string>
#include <vector>

class Hunspell;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace dw {

// The personal word list in the data folder: one word a line.
inline constexpr const char* kPersonalWordsFileName = "words.dic";

// The dictionary base path ("/usr/share/hunspell/en_US", without ".aff"/".dic") of an
// installed English dictionary, or empty when there is none.
std::string findEnglishDictionary();

// Hunspell with the user's personal words. Words go in and out as UTF-8 and are turned
// into the dictionary's own encoding.
class SpellChecker {
public:
    // `dictBase` as findEnglishDictionary answers; `personalPath` the word list (may be
    // missing).
    SpellChecker(const std::string& dictBase, std::string personalPath);
    ~SpellChecker();
    SpellChecker(const SpellChecker&) = delete;
    SpellChecker& operator=(const SpellChecker&) = delete;

    bool available() const { return hunspell_ != nullptr; }
    // True for a known word, an added one, one ignored everywhere, and one the
    // dictionary's encoding cannot even hold (nothing to say about it).
    bool isCorrect(const std::string& word) const;
    std::vector<std::string> suggestions(const std::string& word) const;
    // Known from now on in this check and, through the word list, in every later one.
    // A word list that cannot be written is answered; the word still counts for this check.
    Status addWord(const std::string& word);
    void ignoreAll(const std::string& word) { ignored_.insert(word); }

private:
    bool encode(const std::string& utf8, std::string& out) const;
    std::string decode(const std::string& dict) const;

    std::unique_ptr<Hunspell> hunspell_;
    std::string personalPath_;
    enum class Encoding { Utf8, Latin1, Other } encoding_ = Encoding::Utf8;
    std::string encodingName_;
    std::set<std::string> ignored_;
};

// Walks the misspelt words of a text field, one at a time, and corrects them in the field.
class SpellCheckDialog : public QDialog {
    Q_OBJECT
public:
    // `maxChars`, when not 0, is the field's character limit, which a change keeps to.
    SpellCheckDialog(SpellChecker& checker, QPlainTextEdit* target, Prompts& prompts,
                     QWidget* parent = nullptr, std::size_t maxChars = 0);

    // Moves to the next misspelt word from where the walk stands; false at the end.
    bool findNext();
    // The misspelt word the dialog stands on.
    QString currentWord() const { return word_; }

    QLineEdit* notFoundEdit() const { return notFoundEdit_; }
    QLineEdit* changeToEdit() const { return changeToEdit_; }
    QListWidget* suggestionList() const { return suggestionList_; }
    QPushButton* ignoreButton() const { return ignoreButton_; }
    QPushButton* ignoreAllButton() const { return ignoreAllButton_; }
    QPushButton* changeButton() const { return changeButton_; }
    QPushButton* addButton() const { return addButton_; }
    QPushButton* closeButton() const { return closeButton_; }

private:
    void changeWord();
    void ignoreWord();
    void ignoreWordEverywhere();
    void addToDictionary();
    // Goes on to the next word, closing the dialog when there is none.
    void advance();
    void selectInTarget(std::size_t bytePos, std::size_t byteLen);

    SpellChecker& checker_;
    QPlainTextEdit* target_;
    Prompts& prompts_;
    std::size_t maxChars_;
    std::string text_;    // the target's text as UTF-8, as the walk last read it
    std::size_t pos_ = 0; // where the walk goes on, in bytes
    std::size_t wordPos_ = 0, wordLen_ = 0;
    QString word_;
    QLineEdit* notFoundEdit_ = nullptr;
    QLineEdit* changeToEdit_ = nullptr;
    QListWidget* suggestionList_ = nullptr;
    QPushButton* ignoreButton_ = nullptr;
    QPushButton* ignoreAllButton_ = nullptr;
    QPushButton* changeButton_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};

// Checks a field's text in place with the English dictionary (or the one at `dictBase`),
// with the personal word list of the data folder, keeping to the field's limit. With no dictionary
// installed it says so and changes nothing.
void spellCheckField(QPlainTextEdit* field, const std::string& dataDir, Prompts& prompts,
                     QWidget* parent, std::size_t maxChars = 0, const std::string& dictBase = {});

} // namespace dw
