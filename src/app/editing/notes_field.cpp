#include "app/editing/notes_field.h"

#include "core/editing/task_edit.h"
#include "core/store/text_codec.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>

namespace dw {

namespace {

std::size_t charCount(const QString& text) {
    return utf8Length(text.toStdString());
}

// Pasted text keeps its line breaks as the field's own (one LF each), so that a CR LF
// neither counts twice nor becomes two breaks.
QString fieldLineBreaks(QString text) {
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    return text;
}

} // namespace

NotesField::NotesField(std::size_t maxChars, QWidget* parent)
    : QPlainTextEdit(parent), maxChars_(maxChars) {
    // Tab leaves the field, as in every other field of the dialog.
    setTabChangesFocus(true);
}

void NotesField::insertLimited(const QString& text) {
    const QString selected = textCursor().selectedText();
    const std::string fits = fitInsertion(charCount(toPlainText()), charCount(selected),
                                          fieldLineBreaks(text).toStdString(), maxChars_);
    if (fits.empty() && !text.isEmpty()) {
        QApplication::beep();
        return;
    }
    insertPlainText(QString::fromStdString(fits));
}

void NotesField::keyPressEvent(QKeyEvent* e) {
    const QString t = e->text();
    if (!t.isEmpty() && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        emit typed();
        // Printable characters and Enter grow the text; only they meet the limit.
        const bool grows = t == "\r" || t == "\n" || t[0].isPrint();
        if (grows) {
            const QString incoming = t == "\r" ? QString("\n") : t;
            const std::string fits =
                fitInsertion(charCount(toPlainText()), charCount(textCursor().selectedText()),
                             incoming.toStdString(), maxChars_);
            if (fits.empty()) {
                QApplication::beep();
                e->accept();
                return;
            }
        }
    }
    QPlainTextEdit::keyPressEvent(e);
}

void NotesField::insertFromMimeData(const QMimeData* source) {
    if (!source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    emit typed();
    insertLimited(source->text());
}

CharLimitValidator::CharLimitValidator(std::size_t maxChars, QObject* parent)
    : QValidator(parent), maxChars_(maxChars) {}

QValidator::State CharLimitValidator::validate(QString& input, int& pos) const {
    std::size_t chars = charCount(input);
    while (chars > maxChars_) {
        int at = pos > 0 ? pos : static_cast<int>(input.size());
        int len = 1;
        if (at >= 2 && input[at - 1].isLowSurrogate() && input[at - 2].isHighSurrogate())
            len = 2;
        input.remove(at - len, len);
        if (pos > 0)
            pos -= len;
        --chars;
    }
    return Acceptable;
}

} // namespace dw
