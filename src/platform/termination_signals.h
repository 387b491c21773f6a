#pragma once

#include <QObject>

class QSocketNotifier;

namespace dw {

// SIGTERM, SIGINT and SIGHUP (a logout, a shutdown, Ctrl+C in a terminal) turned into a
// signal on the event loop, so the program can save and end the way closing its window
// does. The handler only writes one byte to a pipe; everything else happens on the loop,
// and a second signal during the save just queues another byte.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // False when the pipe or a handler could not be set up (the default actions stay).
    bool installed() const { return installed_; }

signals:
    // One of the signals arrived; `signalNumber` says which.
    void received(int signalNumber);

private:
    void drain();

    QSocketNotifier* notifier_ = nullptr;
    bool installed_ = false;
};

} // namespace dw
