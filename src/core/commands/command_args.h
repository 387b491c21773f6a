#pragma once

#include <optional>
#include <string>
#include <vector>

namespace dw {

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
    // The arguments not taken yet.
    const std::vector<std::string>& remaining() const { return args_; }
    // Anything left over is a usage error.
    void expectEnd() const;

private:
    std::vector<std::string> args_;
};

// "YYYY-MM-DD" to a whole-day serial.
int parseIsoDate(const std::string& text);
// A time of day as people type it, to a fraction of a day: "9:00", "09:00" or "21:30"
// (24-hour), or "9:30pm", "9:30 PM", "12:00 AM" (12-hour: the hour 1 to 12, then am or pm
// in any letter case, with or without one space; 12 AM is midnight, 12 PM noon). The same
// in every locale, so that scripts run anywhere. Anything else is a UsageError that names
// these forms.
double parseTimeArgument(const std::string& text);
std::string isoDate(int serial);

} // namespace dw
