#pragma once

#include <string>
#include <utility>
#include <vector>

namespace dw {

// What an operation that can fail answers, in place of showing its failure itself: success,
// or the messages for the user, each in the words the program shows it in, in the order
// they arose (closing saves two files, and each save may fail). Whoever asked decides where
// they go: the window shows each in an error box, the command line writes them to stderr.
class [[nodiscard]] Status {
public:
    // Success.
    Status() = default;
    static Status failure(std::string message) {
        Status status;
        status.messages_.push_back(std::move(message));
        return status;
    }

    bool ok() const { return messages_.empty(); }
    explicit operator bool() const { return ok(); }

    // The first message; empty for success.
    const std::string& message() const {
        static const std::string none;
        return ok() ? none : messages_.front();
    }
    const std::vector<std::string>& messages() const { return messages_; }

    // Another step's failures after this one's: for an operation that goes on past a step
    // that failed.
    Status& operator+=(Status other) {
        for (std::string& m : other.messages_)
            messages_.push_back(std::move(m));
        return *this;
    }

private:
    std::vector<std::string> messages_;
};

} // namespace dw
