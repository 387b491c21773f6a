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

// "YYYY-MM-DD" to a whole-day serial; "HH:MM" (24-hour) to a fraction of a day.
int parseIsoDate(const std::string& text);
double parseIsoTime(const std::string& text);
std::string isoDate(int serial);

} // namespace dw
