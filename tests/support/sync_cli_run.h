#pragma once

#include "support/shell_run.h"
#include "support/temp_dir.h"

#include <string>
#include <vector>

namespace dw::test {

// The command line on the data folder `data`, whose settings and home it also holds, in
// en-US on 15 May 2024 at noon: the day the sync tests' server objects are written for.
inline Result runSyncCli(const TempDir& data, const std::vector<std::string>& args) {
    std::string cmd = "LC_ALL=en_US.UTF-8 LANG=en_US.UTF-8 HOME=" + quoted(data.path()) +
                      " XDG_CONFIG_HOME=" + quoted(data.file("config")) +
                      " DAYWEAVER_DATA=" + quoted(data.path()) +
                      " faketime '2024-05-15 12:00:00' " + quoted(DAYWEAVER_CLI);
    for (const auto& a : args)
        cmd += " " + quoted(a);
    return runShell(cmd);
}

} // namespace dw::test
