#pragma once

#include <string>

namespace dw {

// The folder for this user's local socket and start-up lock: nobody else may create, remove
// or replace a file there, so a name in it cannot be taken first by another user.
// XDG_RUNTIME_DIR when it is set and is a folder of ours with no access for others; else a
// folder "dayweaver-<uid>" of our own in the temporary folder, made with mode 0700 when
// missing. Empty when neither can be had safely; `why` then says what is wrong.
std::string userRuntimeDir(std::string* why = nullptr);

// Whether `path` is a folder itself (not a link to one), owned by `uid`, that gives the
// group and others no access. `why` says what is wrong when it is not.
bool isPrivateDir(const std::string& path, unsigned uid, std::string* why = nullptr);

// Whether the process at the other end of a connected local socket runs as this process's
// user. Where the system cannot tell, the answer is no.
bool peerIsThisUser(long long socketDescriptor);

} // namespace dw
