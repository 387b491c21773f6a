#pragma once

#include <QPlainTextEdit>
#include <QValidator>
#include <cstddef>

// The task editor's text fields that keep to a character limit. Characters count, not
// bytes or UTF-16 units.

namespace dw {

// A notes field that takes at most a number of characters (not bytes) when typed into or
// pasted into, and says when a character key was typed.
class NotesField : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit NotesField(std::size_t maxChars, QWidget* parent = nullptr);
    std::size_t maxChars() const { return maxChars_; }
    // Inserts as a paste would, within the limit.
    void insertLimited(const QString& text);

signals:
    // A character key (Backspace and Enter too) was typed, or text was pasted or dropped.
    void typed();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    std::size_t maxChars_;
};

// A line field of at most a number of characters: what goes past the limit is dropped
// from what was just typed or pasted (it ends at the cursor), never from the rest.
class CharLimitValidator : public QValidator {
public:
    CharLimitValidator(std::size_t maxChars, QObject* parent);
    State validate(QString& input, int& pos) const override;

private:
    std::size_t maxChars_;
};

} // namespace dw
