#pragma once

#include <QEvent>
#include <QObject>
#include <functional>

namespace dw {

// Calls back whenever the widget it watches loses the keyboard focus (install it as that
// widget's event filter).
class FocusOutWatcher : public QObject {
public:
    FocusOutWatcher(QObject* parent, std::function<void()> onExit)
        : QObject(parent), onExit_(std::move(onExit)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::FocusOut)
            onExit_();
        return QObject::eventFilter(watched, e);
    }

private:
    std::function<void()> onExit_;
};

} // namespace dw
