#pragma once

#include "core/prompts/prompts.h"

#include <deque>
#include <string>
#include <vector>

namespace dw::test {

// Records every text it is shown and answers from a script. A test hands it to what it
// builds (the application state, a dialog) as the prompts that code asks and tells through.
class FakePrompts : public Prompts {
public:
    enum Answer { Yes, No };

    void setNextAnswer(Answer a) { answers_.push_back(a == Yes); }
    void setNextInput(std::string text) { inputs_.push_back(std::move(text)); }
    void setNextFileName(std::string path) { files_.push_back(std::move(path)); }

    std::vector<std::string> errors;
    std::vector<std::string> infos;
    std::vector<std::string> questions;

    void error(const std::string& text) override { errors.push_back(text); }
    void info(const std::string& text) override { infos.push_back(text); }
    bool askYesNo(const std::string& text, const std::string&) override {
        questions.push_back(text);
        return pop(answers_, false);
    }
    bool inputText(const std::string&, const std::string& label, std::string& value) override {
        questions.push_back(label);
        if (inputs_.empty())
            return false;
        value = pop(inputs_, std::string());
        return true;
    }
    std::string openFileName(const std::string&, const std::string&, const std::string&) override {
        return pop(files_, std::string());
    }
    std::string saveFileName(const std::string&, const std::string&, const std::string&) override {
        return pop(files_, std::string());
    }

private:
    template <typename T> static T pop(std::deque<T>& q, T fallback) {
        if (q.empty())
            return fallback;
        T v = std::move(q.front());
        q.pop_front();
        return v;
    }
    std::deque<bool> answers_;
    std::deque<std::string> inputs_;
    std::deque<std::string> files_;
};

} // namespace dw::test
