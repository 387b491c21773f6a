#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace dw::test {

// Runs `act` on the next modal dialog of type T once it is open (a modal dialog's exec()
// blocks the test, so the answer has to be queued before the click that opens it).
template <typename T> void whenModal(std::function<void(T*)> act, int triesLeft = 200) {
    QTimer::singleShot(5, [act = std::move(act), triesLeft]() mutable {
        if (auto* d = qobject_cast<T*>(QApplication::activeModalWidget())) {
            act(d);
            return;
        }
        if (triesLeft > 0)
            whenModal<T>(std::move(act), triesLeft - 1);
    });
}

} // namespace dw::test
