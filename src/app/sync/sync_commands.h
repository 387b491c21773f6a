#pragma once

#include "sync/caldav_account.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <optional>

class QLabel;
class QMainWindow;
class QTimer;

namespace dw {

class AppState;
class CalDavSync;
class DayNotes;
class MainActions;

// File > "Synchronise now" and the sync timer: a two-way sync of the window's tasks with
// the calendar server of the options' Sync page. A sync runs on the event loop and never
// blocks the window; a request while one runs is ignored. Its local changes are made in
// the program's own tables, saved at once, and shown. The status bar keeps the last
// sync's time and result until the next one.
class SyncCommands : public QObject {
    Q_OBJECT
public:
    enum class Trigger { User, Timer };
    // Asks for the password when no keyring keeps it; nothing when cancelled.
    using AskPassword =
        std::function<std::optional<QString>(const QString& user, const QString& host)>;

    // Its result sits at the right of the window's status bar; the notes pane's edit is
    // written back before the tasks are gathered.
    SyncCommands(QMainWindow& window, const MainActions& actions, DayNotes& notes, AppState& state);
    ~SyncCommands() override;

    // A sync with the saved account. From the timer, errors go to the status bar only;
    // from the user, an error is also shown in a message box.
    void synchronise(Trigger trigger);
    bool running() const { return running_; }
    // The timer's look at the clock: syncs once the account's interval has passed since
    // the last sync began (or since the start). The interval is read each time, so a change
    // on the options' Sync page takes effect at once. It waits while a dialog is open.
    void checkSchedule();

    QLabel* statusLabel() const { return status_; }
    void setAskPassword(AskPassword ask) { askPassword_ = std::move(ask); }

signals:
    void finished(bool ok, const QString& message);

private:
    void run(const SyncAccount& account, const QString& password, Trigger trigger,
             bool keepPassword);
    void done(bool ok, const QString& message, Trigger trigger, bool partly = false);
    void showChanges();

    QMainWindow& window_;
    const MainActions& actions_;
    DayNotes& notes_;
    AppState& state_;
    QLabel* status_;
    QTimer* timer_;
    QElapsedTimer sinceLastStart_;
    AskPassword askPassword_;
    bool running_ = false;
    QPointer<CalDavSync> sync_;
    int sent_ = 0;
    int received_ = 0;
    // The objects this sync skipped, each with why: the report names them.
    QStringList problems_;
};

} // namespace dw
