#pragma once

#include "core/prompts/prompts.h"

#include <QWidget>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace dw {

class CalDavClient;

// The "Sync" page of the options: the calendar server's address, the user name, the
// password (kept in the desktop's keyring, never in the settings), the calendar chosen
// among those the server lists for the user, and how often to sync. Like the rest of the
// options it is saved by "OK" and left as saved by "Cancel".
class SyncOptionsPage : public QWidget {
    Q_OBJECT
public:
    explicit SyncOptionsPage(Prompts& prompts, QWidget* parent = nullptr);
    ~SyncOptionsPage() override;

    // The saved account into the controls; the password field starts empty.
    void load();
    // Saves the account; a password typed here goes to the keyring. False, after telling
    // the user, when the server's address cannot be used.
    bool save();
    // Asks the server for the user's calendars and offers them in the calendar list.
    void findCalendars();

signals:
    // The calendar list has been filled (or the search failed): for whoever waits on it.
    void calendarsSearched(bool found);

protected:
    void showEvent(QShowEvent* e) override;

private:
    void discoverWith(const QString& password);
    void showKeyringState();
    void setCalendarChoice(const QString& href, const QString& caption);

    Prompts& prompts_;
    QLineEdit* serverEdit_;
    QLineEdit* userEdit_;
    QLineEdit* passwordEdit_;
    QLabel* keyringNote_;
    QPushButton* findButton_;
    QComboBox* calendarCombo_;
    QLabel* findResult_;
    QComboBox* intervalCombo_;
    std::unique_ptr<CalDavClient> client_;
};

} // namespace dw
