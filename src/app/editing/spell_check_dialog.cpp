#include "app/editing/spell_check_dialog.h"

#include "app/shell/app_prompts.h"
#include "app/widgets/dialog_frame.h"
#include "core/editing/spell_words.h"
#include "core/editing/task_edit.h"
#include "core/store/category_list.h"
#include "core/store/file_io.h"
#include "core/store/helpers.h"
#include "core/store/text_codec.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>
#include <hunspell/hunspell.hxx>

namespace dw {

std::string findEnglishDictionary() {
    static const char* const dirs[] = {"/usr/share/hunspell", "/usr/share/myspell",
                                       "/usr/share/myspell/dicts", "/usr/local/share/hunspell"};
    static const char* const names[] = {"en_US", "en_GB", "en_CA", "en_AU", "en"};
    for (const char* name : names)
        for (const char* dir : dirs) {
            std::string base = joinPath(dir, name);
            if (fileExists(base + ".aff") && fileExists(base + ".dic"))
                return base;
        }
    return {};
}

SpellChecker::SpellChecker(const std::string& dictBase, std::string personalPath)
    : personalPath_(std::move(personalPath)) {
    if (dictBase.empty() || !fileExists(dictBase + ".aff") || !fileExists(dictBase + ".dic"))
        return;
    hunspell_ =
        std::make_unique<Hunspell>((dictBase + ".aff").c_str(), (dictBase + ".dic").c_str());
    const char* enc = hunspell_->get_dic_encoding();
    encodingName_ = enc ? enc : "";
    const QString name = QString::fromStdString(encodingName_).toUpper().remove('-');
    if (name.isEmpty() || name == "UTF8")
        encoding_ = Encoding::Utf8;
    else if (name == "ISO88591" || name == "LATIN1")
        encoding_ = Encoding::Latin1;
    else
        encoding_ = Encoding::Other;

    for (const auto& word : readListFile(personalPath_)) {
        std::string w;
        if (!word.empty() && encode(word, w))
            hunspell_->add(w);
    }
}

SpellChecker::~SpellChecker() = default;

bool SpellChecker::encode(const std::string& utf8, std::string& out) const {
    switch (encoding_) {
    case Encoding::Utf8:
        out = utf8;
        return true;
    case Encoding::Latin1: {
        const QString s = QString::fromStdString(utf8);
        for (const QChar c : s)
            if (c.unicode() > 0xFF)
                return false;
        out = s.toLatin1().toStdString();
        return true;
    }
    case Encoding::Other: {
        QStringEncoder enc(encodingName_.c_str());
        if (!enc.isValid())
            return false;
        const QByteArray bytes = enc.encode(QString::fromStdString(utf8));
        if (enc.hasError())
            return false;
        out = bytes.toStdString();
        return true;
    }
    }
    return false;
}

std::string SpellChecker::decode(const std::string& dict) const {
    switch (encoding_) {
    case Encoding::Utf8:
        return dict;
    case Encoding::Latin1:
        return QString::fromLatin1(dict.data(), static_cast<qsizetype>(dict.size())).toStdString();
    case Encoding::Other: {
        QStringDecoder dec(encodingName_.c_str());
        if (!dec.isValid())
            return dict;
        const QString s = dec.decode(QByteArray::fromStdString(dict));
        return s.toStdString();
    }
    }
    return dict;
}

bool SpellChecker::isCorrect(const std::string& word) const {
    if (!hunspell_ || ignored_.count(word))
        return true;
    std::string w;
    if (!encode(word, w))
        return true;
    return hunspell_->spell(w);
}

std::vector<std::string> SpellChecker::suggestions(const std::string& word) const {
    std::vector<std::string> out;
    std::string w;
    if (!hunspell_ || !encode(word, w))
        return out;
    for (const auto& s : hunspell_->suggest(w))
        out.push_back(decode(s));
    return out;
}

Status SpellChecker::addWord(const std::string& word) {
    if (word.empty())
        return {};
    std::string w;
    if (hunspell_ && encode(word, w))
        hunspell_->add(w);
    auto words = readListFile(personalPath_);
    if (std::find(words.begin(), words.end(), word) != words.end())
        return {};
    words.push_back(word);
    return saveListFile(personalPath_, words);
}

SpellCheckDialog::SpellCheckDialog(SpellChecker& checker, QPlainTextEdit* target, Prompts& prompts,
                                   QWidget* parent, std::size_t maxChars)
    : QDialog(parent), checker_(checker), target_(target), prompts_(prompts), maxChars_(maxChars) {
    setWindowTitle("Spell Check");

    notFoundEdit_ = new QLineEdit(this);
    notFoundEdit_->setObjectName("notFoundEdit");
    notFoundEdit_->setReadOnly(true);
    changeToEdit_ = new QLineEdit(this);
    changeToEdit_->setObjectName("changeToEdit");
    suggestionList_ = new QListWidget(this);
    suggestionList_->setObjectName("suggestionList");
    auto* notFoundLabel = new QLabel("Not in dictionary:", this);
    auto* changeToLabel = new QLabel("C&hange to:", this);
    changeToLabel->setBuddy(changeToEdit_);
    auto* suggestionsLabel = new QLabel("S&uggestions:", this);
    suggestionsLabel->setBuddy(suggestionList_);

    auto button = [this](const char* name, const char* caption) {
        return dialogButton(this, name, caption);
    };
    ignoreButton_ = button("ignoreButton", "&Ignore");
    ignoreAllButton_ = button("ignoreAllButton", "I&gnore All");
    changeButton_ = button("changeButton", "&Change");
    addButton_ = button("addButton", "&Add");
    closeButton_ = button("closeButton", "Close");
    changeButton_->setDefault(true);
    connect(ignoreButton_, &QPushButton::clicked, this, &SpellCheckDialog::ignoreWord);
    connect(ignoreAllButton_, &QPushButton::clicked, this, &SpellCheckDialog::ignoreWordEverywhere);
    connect(changeButton_, &QPushButton::clicked, this, &SpellCheckDialog::changeWord);
    connect(addButton_, &QPushButton::clicked, this, &SpellCheckDialog::addToDictionary);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(suggestionList_, &QListWidget::currentTextChanged, changeToEdit_, &QLineEdit::setText);
    connect(suggestionList_, &QListWidget::itemDoubleClicked, this, [this] { changeWord(); });

    auto* grid = new QGridLayout;
    grid->addWidget(notFoundLabel, 0, 0);
    grid->addWidget(notFoundEdit_, 1, 0);
    grid->addWidget(changeToLabel, 2, 0);
    grid->addWidget(changeToEdit_, 3, 0);
    grid->addWidget(suggestionsLabel, 4, 0);
    grid->addWidget(suggestionList_, 5, 0);
    auto* side = new QVBoxLayout;
    side->addSpacing(notFoundLabel->sizeHint().height());
    side->addWidget(ignoreButton_);
    side->addWidget(ignoreAllButton_);
    side->addSpacing(8);
    side->addWidget(changeButton_);
    side->addWidget(addButton_);
    side->addStretch();
    side->addWidget(closeButton_);
    grid->addLayout(side, 0, 1, 6, 1);
    grid->setRowStretch(5, 1);
    setLayout(grid);
    resize(380, 300);
}

bool SpellCheckDialog::findNext() {
    text_ = target_->toPlainText().toStdString();
    while (const auto w = nextWord(text_, pos_)) {
        const std::string word = text_.substr(w->pos, w->len);
        if (checker_.isCorrect(word)) {
            pos_ = w->pos + w->len;
            continue;
        }
        wordPos_ = w->pos;
        wordLen_ = w->len;
        word_ = QString::fromStdString(word);
        notFoundEdit_->setText(word_);
        suggestionList_->clear();
        for (const auto& s : checker_.suggestions(word))
            suggestionList_->addItem(QString::fromStdString(s));
        if (suggestionList_->count() > 0)
            suggestionList_->setCurrentRow(0);
        else
            changeToEdit_->setText(word_);
        selectInTarget(wordPos_, wordLen_);
        changeToEdit_->setFocus();
        changeToEdit_->selectAll();
        return true;
    }
    pos_ = text_.size();
    word_.clear();
    return false;
}

void SpellCheckDialog::selectInTarget(std::size_t bytePos, std::size_t byteLen) {
    // Field positions count UTF-16 units; the walk counts UTF-8 bytes.
    const auto start = QString::fromUtf8(text_.data(), static_cast<qsizetype>(bytePos)).size();
    const auto len =
        QString::fromUtf8(text_.data() + bytePos, static_cast<qsizetype>(byteLen)).size();
    QTextCursor c(target_->document());
    c.setPosition(static_cast<int>(start));
    c.setPosition(static_cast<int>(start + len), QTextCursor::KeepAnchor);
    target_->setTextCursor(c);
    target_->ensureCursorVisible();
}

void SpellCheckDialog::advance() {
    if (!findNext())
        accept();
}

void SpellCheckDialog::changeWord() {
    if (word_.isEmpty())
        return;
    std::string replacement = singleLineText(changeToEdit_->text().toStdString());
    if (maxChars_ > 0)
        replacement = fitInsertion(utf8Length(text_), utf8Length(word_.toStdString()), replacement,
                                   maxChars_);
    selectInTarget(wordPos_, wordLen_);
    QTextCursor c = target_->textCursor();
    c.insertText(QString::fromStdString(replacement));
    target_->setTextCursor(c);
    // Go on after the replacement, or after what the field kept of it when it is full.
    const std::string after = target_->toPlainText().toStdString();
    const auto end = QString::fromStdString(after).left(c.position()).toStdString().size();
    pos_ = end;
    advance();
}

void SpellCheckDialog::ignoreWord() {
    if (word_.isEmpty())
        return;
    pos_ = wordPos_ + wordLen_;
    advance();
}

void SpellCheckDialog::ignoreWordEverywhere() {
    if (word_.isEmpty())
        return;
    checker_.ignoreAll(word_.toStdString());
    pos_ = wordPos_ + wordLen_;
    advance();
}

void SpellCheckDialog::addToDictionary() {
    if (word_.isEmpty())
        return;
    showErrors(prompts_, checker_.addWord(word_.toStdString()));
    pos_ = wordPos_ + wordLen_;
    advance();
}

void spellCheckField(QPlainTextEdit* field, const std::string& dataDir, Prompts& prompts,
                     QWidget* parent, std::size_t maxChars, const std::string& dictBase) {
    const std::string dict = dictBase.empty() ? findEnglishDictionary() : dictBase;
    SpellChecker checker(dict, joinPath(dataDir, kPersonalWordsFileName));
    if (!checker.available()) {
        prompts.info("No English spelling dictionary is installed, so the spelling cannot be "
                     "checked.");
        return;
    }
    SpellCheckDialog dlg(checker, field, prompts, parent, maxChars);
    if (dlg.findNext() && dlg.exec() != QDialog::Accepted)
        return; // closed before the end: nothing more to say
    prompts.info("The spelling check is complete.");
}

} // namespace dw
