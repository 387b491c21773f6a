#include "platform/runtime_dir.h"

#include <QDir>
#include <QString>
#include <cerrno>
#include <cstring>

#if defined(Q_OS_UNIX)
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#endif

namespace dw {

namespace {

void say(std::string* why, const std::string& text) {
    if (why)
        *why = text;
}

} // namespace

#if defined(Q_OS_UNIX)

bool isPrivateDir(const std::string& path, unsigned uid, std::string* why) {
    struct stat st {};
    // lstat: a link is refused as it is, wherever it points.
    if (::lstat(path.c_str(), &st) != 0) {
        say(why, path + ": " + std::strerror(errno));
        return false;
    }
    if (S_ISLNK(st.st_mode)) {
        say(why, path + " is a symbolic link");
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        say(why, path + " is not a folder");
        return false;
    }
    if (st.st_uid != uid) {
        say(why, path + " belongs to another user");
        return false;
    }
    if ((st.st_mode & 077) != 0) {
        say(why, path + " can be used by other users (mode " +
                     QString::number(st.st_mode & 0777, 8).toStdString() + ")");
        return false;
    }
    return true;
}

std::string userRuntimeDir(std::string* why) {
    const unsigned uid = ::getuid();
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivateDir(runtime.toStdString(), uid))
        return runtime.toStdString();
    const std::string own = QDir::tempPath().toStdString() + "/dayweaver-" + std::to_string(uid);
    // Made 0700 at once; when the name is there already it must be ours and private, or
    // another user could have made it to watch or replace what we put in it.
    if (::mkdir(own.c_str(), 0700) != 0 && errno != EEXIST) {
        say(why, own + ": " + std::strerror(errno));
        return {};
    }
    if (!isPrivateDir(own, uid, why))
        return {};
    return own;
}

bool peerIsThisUser(long long socketDescriptor) {
    const int fd = static_cast<int>(socketDescriptor);
    if (fd < 0)
        return false;
#if defined(SO_PEERCRED)
    struct ucred cred {};
    socklen_t size = sizeof cred;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &size) != 0 || size != sizeof cred)
        return false;
    return cred.uid == ::getuid();
#elif defined(Q_OS_MACOS) || defined(Q_OS_FREEBSD) || defined(Q_OS_OPENBSD) || defined(Q_OS_NETBSD)
    uid_t peerUid = 0;
    gid_t peerGid = 0;
    if (::getpeereid(fd, &peerUid, &peerGid) != 0)
        return false;
    return peerUid == ::getuid();
#else
    return false;
#endif
}

#else

// Windows: the socket is a named pipe whose access list (QLocalServer::UserAccessOption)
// already admits this user only.
bool isPrivateDir(const std::string&, unsigned, std::string*) {
    return true;
}

std::string userRuntimeDir(std::string*) {
    return QDir::tempPath().toStdString();
}

bool peerIsThisUser(long long) {
    return true;
}

#endif

} // namespace dw
