#pragma once

#include "support/temp_dir.h"

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace dw::test {

// What a command run through the shell left: its exit status (-1 when it did not exit by
// itself) and what it wrote to its output and its errors.
struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

// An argument as the shell takes it whole, whatever it holds.
inline std::string quoted(const std::string& arg) {
    std::string q = "'";
    for (const char c : arg)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs a shell command line with no input, capturing its output and its errors.
inline Result runShell(const std::string& commandLine) {
    TempDir io;
    const std::string cmd = commandLine + " > " + quoted(io.file("out")) + " 2> " +
                            quoted(io.file("err")) + " < /dev/null";
    const int raw = std::system(cmd.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, io.read("out"), io.read("err")};
}

// Runs `program` (a command line, environment settings first) with `args`, each quoted.
inline Result runShell(std::string program, const std::vector<std::string>& args) {
    for (const std::string& a : args)
        program += " " + quoted(a);
    return runShell(program);
}

// Starts `holder` (a helper that takes the data folder's lock, as the running program
// does) in the background on `data` and waits until it holds the lock; its pid is left in
// the folder's file "holder.pid". True once it holds the lock.
inline bool startLockHolder(const std::string& holder, const TempDir& data) {
    const std::string start = quoted(holder) + " " + quoted(data.path()) + " > " +
                              quoted(data.file("held")) + " & echo $! > " +
                              quoted(data.file("holder.pid"));
    if (std::system(start.c_str()) != 0)
        return false;
    for (int i = 0; i < 200 && data.read("held") != "locked\n"; ++i)
        std::system("sleep 0.05");
    return data.read("held") == "locked\n";
}

} // namespace dw::test
