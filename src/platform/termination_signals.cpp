#include "platform/termination_signals.h"

#include <QSocketNotifier>
#include <QtGlobal>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace dw {

#if defined(Q_OS_UNIX)

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The pipe the handler writes to; one per process.
int pipeFds[2] = {-1, -1};

extern "C" void onTerminationSignal(int signalNumber) {
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    // Nothing but a write is safe here; a full pipe already holds a request to end.
    [[maybe_unused]] const ssize_t n = ::write(pipeFds[1], &byte, 1);
    errno = saved;
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {
    if (pipeFds[0] < 0) {
        if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
            pipeFds[0] = pipeFds[1] = -1;
            return;
        }
    }
    notifier_ = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::drain);
    struct sigaction sa = {};
    sa.sa_handler = onTerminationSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    installed_ = true;
    for (const int s : kSignals)
        installed_ = ::sigaction(s, &sa, nullptr) == 0 && installed_;
}

TerminationSignals::~TerminationSignals() {
    // Back to the default actions: nobody is left to save.
    struct sigaction sa = {};
    sa.sa_handler = SIG_DFL;
    sigemptyset(&sa.sa_mask);
    for (const int s : kSignals)
        ::sigaction(s, &sa, nullptr);
}

void TerminationSignals::drain() {
    unsigned char bytes[64];
    ssize_t n;
    while ((n = ::read(pipeFds[0], bytes, sizeof bytes)) > 0) {
        for (ssize_t i = 0; i < n; ++i)
            emit received(bytes[i]);
    }
}

#else

// Elsewhere the platform's own session end reaches the window as a close.
TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent) {}
TerminationSignals::~TerminationSignals() = default;
void TerminationSignals::drain() {}

#endif

} // namespace dw
