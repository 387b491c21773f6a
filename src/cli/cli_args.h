#pragma once

#include <optional>
#include <string>
#include <vector>

namespace dw::cli {

// A usage error: the message goes to stderr with the usage text, exit status 2.
struct UsageError {
    std::string message;
};

// Command-line arguments with options taken out as they are asked for.
class Args {
public:
    explicit Args(std::vector<std::string> args) : args_(std::move(args)) {}

    // "--name VALUE": the value, removed from the arguments.
    std::optional<std::string> takeOption(const std::string& name);
    // "--name": whether it was there, removed.
    bool takeFlag(const std::string& name);
    // The next positional argument, or nothing.
    std::optional<std::string> takePositional();
    std::string requirePositional(const std::string& what);
    // Anything left over is a usage error.
    void expectEnd() const;

private:
    std::vector<std::string> args_;
};

// "YYYY-MM-DD" to a whole-day serial; "HH:MM" (24-hour) to a fraction of a day.
int parseIsoDate(const std::string& text);
double parseIsoTime(const std::string& text);
std::string isoDate(int serial);

// Texts from the command line, checked as the editor would take them: UTF-8, a category
// of one line of at most 20 characters (the option "--category", empty when not given), a
// task's text not blank and at most 2048 characters.
std::string checkedUtf8(std::string text);
std::string checkedCategory(Args& args);
std::string checkedCategoryText(const std::string& raw);
std::string checkedText(const std::string& raw);

} // namespace dw::cli
