#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace dw::test {

namespace detail {

// The dialogs the running test still waits for, each with the timer that looks for it.
struct ModalWatch {
    QTimer* timer;
    std::string dialogType;
};

inline std::vector<ModalWatch>& modalWatches() {
    static std::vector<ModalWatch> watches;
    return watches;
}

inline void endModalWatch(QTimer* timer) {
    auto& watches = modalWatches();
    watches.erase(std::remove_if(watches.begin(), watches.end(),
                                 [timer](const ModalWatch& w) { return w.timer == timer; }),
                  watches.end());
    timer->stop();
    // Deleted once control is back in the loop that ran it, never inside the act.
    timer->deleteLater();
}

// Closes whatever modal window is open, so that the exec() it blocks returns.
inline void closeActiveModal() {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else if (modal)
        modal->close();
}

} // namespace detail

// Runs `act` on the next modal dialog of type T once it is open (a modal dialog's exec()
// blocks the test, so the answer has to be queued before the click that opens it).
// When no such dialog opens within `waitMs`, the test fails and whatever modal window is
// open is closed, so that a slow or wrong run fails rather than hangs in exec(). A test
// that ends while still waiting fails too (failUnopenedModals).
template <typename T> void whenModal(std::function<void(T*)> act, int waitMs = 10000) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    const std::string type = T::staticMetaObject.className();
    detail::modalWatches().push_back({timer, type});
    QObject::connect(timer, &QTimer::timeout,
                     [timer, type, act = std::move(act), deadline = QDeadlineTimer(waitMs)] {
                         auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
                         if (!dialog && !deadline.hasExpired())
                             return;
                         const auto run = act; // the act may outlive this watch
                         detail::endModalWatch(timer);
                         if (dialog) {
                             run(dialog);
                             return;
                         }
                         ADD_FAILURE() << "no " << type << " opened";
                         detail::closeActiveModal();
                     });
    timer->start();
}

// Fails the running test once for each dialog it waited for that never opened, and stops
// waiting for them, so that no watch reaches into the next test. The app tests' main
// calls it as each test ends.
inline void failUnopenedModals() {
    auto watches = std::exchange(detail::modalWatches(), {});
    for (const auto& w : watches) {
        ADD_FAILURE() << "no " << w.dialogType << " opened before the test ended";
        w.timer->stop();
        w.timer->deleteLater();
    }
}

} // namespace dw::test
