#pragma once

#include "core/store/store_change.h"

#include <QObject>

namespace dw {

// The one way news of a change to the tables travels: whatever changes the store says so
// here once it is done, and the views that show the store (the day view, the to-do list,
// the calendars, the hover summary) follow from the signal. No view reads the store again
// on a command's behalf.
class StoreEvents : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    void publish(const StoreChange& change) { emit changed(change); }

signals:
    void changed(const dw::StoreChange& change);
};

} // namespace dw
