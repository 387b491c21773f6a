#include "app/sync/sync_options_page.h"

#include "app/sync/password_keyring.h"
#include "sync/caldav_account.h"
#include "sync/caldav_client.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace dw {
namespace {

template <typename W> W* named(W* w, const char* name) {
    w->setObjectName(name);
    return w;
}

QLabel* buddyLabel(const char* caption, QWidget* buddy, QWidget* parent) {
    auto* l = new QLabel(caption, parent);
    l->setBuddy(buddy);
    return l;
}

const char* const kFirstCalendar = "The first calendar found";

bool usableServer(const QUrl& url) {
    return url.isValid() && !url.host().isEmpty() &&
           (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

} // namespace

SyncOptionsPage::SyncOptionsPage(Prompts& prompts, QWidget* parent)
    : QWidget(parent), prompts_(prompts) {
    setObjectName("syncPage");
    auto* server = named(new QGroupBox("Calendar server", this), "syncServerGroup");
    serverEdit_ = named(new QLineEdit(server), "syncServerEdit");
    serverEdit_->setPlaceholderText("https://calendar.example.org/");
    serverEdit_->setMinimumWidth(260);
    userEdit_ = named(new QLineEdit(server), "syncUserEdit");
    passwordEdit_ = named(new QLineEdit(server), "syncPasswordEdit");
    passwordEdit_->setEchoMode(QLineEdit::Password);
    keyringNote_ = named(new QLabel(server), "keyringNote");
    keyringNote_->setWordWrap(true);
    keyringNote_->setEnabled(false);
    calendarCombo_ = named(new QComboBox(server), "calendarCombo");
    calendarCombo_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    calendarCombo_->setMinimumContentsLength(20);
    findButton_ = named(new QPushButton("&Find calendars", server), "findCalendarsButton");
    findResult_ = named(new QLabel(server), "findResult");
    findResult_->setWordWrap(true);

    auto* calendar = new QHBoxLayout;
    calendar->addWidget(calendarCombo_, 1);
    calendar->addWidget(findButton_);

    auto* g = new QGridLayout(server);
    g->addWidget(buddyLabel("Ser&ver address:", serverEdit_, server), 0, 0);
    g->addWidget(serverEdit_, 0, 1);
    g->addWidget(buddyLabel("&User name:", userEdit_, server), 1, 0);
    g->addWidget(userEdit_, 1, 1);
    g->addWidget(buddyLabel("Pass&word:", passwordEdit_, server), 2, 0);
    g->addWidget(passwordEdit_, 2, 1);
    g->addWidget(keyringNote_, 3, 1);
    g->addWidget(buddyLabel("&Calendar:", calendarCombo_, server), 4, 0);
    g->addLayout(calendar, 4, 1);
    g->addWidget(findResult_, 5, 1);
    g->setColumnStretch(1, 1);

    auto* timing = named(new QGroupBox("Synchronise ", this), "syncTimingGroup");
    intervalCombo_ = named(new QComboBox(timing), "syncIntervalCombo");
    intervalCombo_->addItem("Only when asked (File, Synchronise now)", 0);
    for (const int minutes : {5, 15, 60})
        intervalCombo_->addItem(QStringLiteral("Every %1 minutes").arg(minutes), minutes);
    auto* t = new QHBoxLayout(timing);
    t->addWidget(buddyLabel("&Automatically:", intervalCombo_, timing));
    t->addWidget(intervalCombo_);
    t->addStretch(1);

    auto* v = new QVBoxLayout(this);
    v->addWidget(server);
    v->addWidget(timing);
    v->addStretch(1);

    connect(findButton_, &QPushButton::clicked, this, &SyncOptionsPage::findCalendars);
    load();
}

SyncOptionsPage::~SyncOptionsPage() = default;

void SyncOptionsPage::load() {
    const SyncAccount account = loadSyncAccount();
    serverEdit_->setText(account.server);
    userEdit_->setText(account.user);
    passwordEdit_->clear();
    calendarCombo_->clear();
    calendarCombo_->addItem(kFirstCalendar, QString());
    if (!account.calendar.isEmpty())
        setCalendarChoice(account.calendar, account.calendar);
    findResult_->clear();
    intervalCombo_->setCurrentIndex(std::max(0, intervalCombo_->findData(account.intervalMinutes)));
}

void SyncOptionsPage::setCalendarChoice(const QString& href, const QString& caption) {
    int at = calendarCombo_->findData(href);
    if (at < 0) {
        calendarCombo_->addItem(caption, href);
        at = calendarCombo_->count() - 1;
    }
    calendarCombo_->setCurrentIndex(at);
}

bool SyncOptionsPage::save() {
    SyncAccount account;
    account.server = serverEdit_->text().trimmed();
    account.user = userEdit_->text().trimmed();
    account.calendar = calendarCombo_->currentData().toString();
    account.intervalMinutes = intervalCombo_->currentData().toInt();
    if (!account.server.isEmpty() && !usableServer(QUrl(account.server))) {
        prompts_.error("The sync settings were not saved: the server's address must begin with "
                       "http:// or https:// and name a host.");
        return false;
    }
    saveSyncAccount(account);
    // Without a keyring the password is simply not kept: each sync asks for it.
    if (!passwordEdit_->text().isEmpty() && !account.user.isEmpty())
        passwordKeyring().write(keyringKey(account), passwordEdit_->text(),
                                [](const KeyringAnswer&) {});
    passwordEdit_->clear();
    return true;
}

void SyncOptionsPage::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    showKeyringState();
}

void SyncOptionsPage::showKeyringState() {
    SyncAccount account;
    account.server = serverEdit_->text().trimmed();
    account.user = userEdit_->text().trimmed();
    keyringNote_->setText("The password is kept in the desktop's keyring.");
    if (account.user.isEmpty())
        return;
    QPointer<SyncOptionsPage> alive(this);
    passwordKeyring().read(keyringKey(account), [alive, this](const KeyringAnswer& a) {
        if (!alive)
            return;
        if (a.status == KeyringAnswer::Status::Unavailable)
            keyringNote_->setText("There is no keyring to keep the password: it is asked for "
                                  "at each sync and not stored.");
        else if (a.status == KeyringAnswer::Status::NotFound)
            keyringNote_->setText("The keyring holds no password yet: type it here to keep "
                                  "it there.");
    });
}

void SyncOptionsPage::findCalendars() {
    const QUrl server(serverEdit_->text().trimmed());
    if (!usableServer(server)) {
        findResult_->setText("Give the server's address, beginning with http:// or https://.");
        emit calendarsSearched(false);
        return;
    }
    if (userEdit_->text().trimmed().isEmpty()) {
        findResult_->setText("Give the user name.");
        emit calendarsSearched(false);
        return;
    }
    if (!passwordEdit_->text().isEmpty())
        return discoverWith(passwordEdit_->text());
    // No password typed: the one the keyring keeps.
    SyncAccount account;
    account.server = serverEdit_->text().trimmed();
    account.user = userEdit_->text().trimmed();
    QPointer<SyncOptionsPage> alive(this);
    passwordKeyring().read(keyringKey(account), [alive, this](const KeyringAnswer& a) {
        if (!alive)
            return;
        if (a.status == KeyringAnswer::Status::Found)
            return discoverWith(a.password);
        findResult_->setText("Type the password to find the calendars.");
        emit calendarsSearched(false);
    });
}

void SyncOptionsPage::discoverWith(const QString& password) {
    findButton_->setEnabled(false);
    findResult_->setText("Looking for the calendars...");
    client_ = std::make_unique<CalDavClient>(QUrl(serverEdit_->text().trimmed()),
                                             userEdit_->text().trimmed(), password);
    client_->discoverCalendars(
        [this](const CalDavError& error, const QVector<CalendarInfo>& found) {
            findButton_->setEnabled(true);
            // The client answers from its own reply: it goes once the answer is read.
            client_.release()->deleteLater();
            if (!error.ok()) {
                findResult_->setText(error.message);
                emit calendarsSearched(false);
                return;
            }
            if (found.isEmpty()) {
                findResult_->setText("The server has no calendar for this user.");
                emit calendarsSearched(false);
                return;
            }
            const QString chosen = calendarCombo_->currentData().toString();
            calendarCombo_->clear();
            calendarCombo_->addItem(kFirstCalendar, QString());
            for (const CalendarInfo& c : found) {
                const QString name = c.displayName.isEmpty() ? c.href : c.displayName;
                calendarCombo_->addItem(QStringLiteral("%1 (%2)").arg(name, c.href), c.href);
            }
            // What was chosen stays chosen; else the first calendar is offered by name.
            const int at = calendarCombo_->findData(chosen);
            calendarCombo_->setCurrentIndex(at > 0 ? at : 1);
            findResult_->setText(found.size() == 1
                                     ? QStringLiteral("1 calendar found.")
                                     : QStringLiteral("%1 calendars found.").arg(found.size()));
            emit calendarsSearched(true);
        });
}

} // namespace dw
