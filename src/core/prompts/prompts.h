#pragma once

#include <string>

namespace dw {

// Every message box, question, input box and file dialog goes through a Prompts object: the
// app shows real dialogs, tests script the answers and read back what was shown. The core
// itself asks nothing and shows nothing: it answers its failures as values (Status).
class Prompts {
public:
    virtual ~Prompts() = default;
    // A warning beep, then an error box with one "OK" button.
    virtual void error(const std::string& text) = 0;
    // An information box with "OK", no sound.
    virtual void info(const std::string& text) = 0;
    // A question with "Yes" and "No"; true only for "Yes".
    virtual bool askYesNo(const std::string& text, const std::string& caption) = 0;
    // A one-line input box; false when cancelled.
    virtual bool inputText(const std::string& caption, const std::string& label,
                           std::string& value) = 0;
    // File dialogs; an empty answer means cancelled.
    virtual std::string openFileName(const std::string& caption, const std::string& dir,
                                     const std::string& filter) = 0;
    virtual std::string saveFileName(const std::string& caption, const std::string& dir,
                                     const std::string& filter) = 0;
};

// Prompts for code with nobody to ask (a program before its windows are up): every question
// is answered "No" and every file dialog is cancelled; subclasses say where errors and
// information go.
class UnattendedPrompts : public Prompts {
public:
    bool askYesNo(const std::string&, const std::string&) override { return false; }
    bool inputText(const std::string&, const std::string&, std::string&) override { return false; }
    std::string openFileName(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    std::string saveFileName(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
};

} // namespace dw
