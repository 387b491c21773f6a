#include "app/output/web_calendar_dialog.h"

#include "app/shell/app_prompts.h"
#include "core/settings/option_key_table.h"
#include "core/settings/settings_store.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace dw {

namespace {

constexpr const char* kSection = "WebCal";

// The pointer shows the busy shape while the page is written.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace

WebCalendarDialog::WebCalendarDialog(SettingsStore& settings, const FormatSettings& fs,
                                     Prompts& prompts, QWidget* parent)
    : QDialog(parent), settings_(settings), fs_(fs), prompts_(prompts) {
    setWindowTitle("Publish Monthly Calendar as Web Page");
    openPage_ = [](const std::string& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
    };

    title_ = new QLabel(this);
    title_->setAlignment(Qt::AlignCenter);
    fileEdit_ =
        new QLineEdit(QString::fromStdString(settings_.readString(kSection, "LastFile", "")), this);
    auto* fileLabel = new QLabel("&Name of output file (*.htm or *.html)", this);
    fileLabel->setBuddy(fileEdit_);
    browseButton_ = new QToolButton(this);
    browseButton_->setText("...");
    detailsCheck_ = new QCheckBox("Include daily details with calendar?", this);
    detailsCheck_->setChecked(settings_.readBool(kSection, "Details", true));
    publishButton_ = new QPushButton("&Publish", this);
    publishButton_->setDefault(true);
    launchButton_ = new QPushButton("Publish then launch &browser", this);
    cancelButton_ = new QPushButton("Cancel", this);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileEdit_, 1);
    fileRow->addWidget(browseButton_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(publishButton_);
    buttons->addWidget(launchButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addWidget(fileLabel);
    layout->addLayout(fileRow);
    layout->addWidget(detailsCheck_);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(420, 0)));

    connect(browseButton_, &QToolButton::clicked, this, &WebCalendarDialog::browse);
    // Both publishing buttons close the dialog whatever the outcome.
    connect(publishButton_, &QPushButton::clicked, this, [this] {
        publish();
        accept();
    });
    connect(launchButton_, &QPushButton::clicked, this, [this] {
        publishAndLaunch();
        accept();
    });
    // Cancel only closes.
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void WebCalendarDialog::setMonthDate(int date) {
    monthDate_ = date;
    title_->setText(QString::fromStdString(webCalendarTitle(date, fs_)));
}

void WebCalendarDialog::setTitleFont(const QFont& font) {
    title_->setFont(font);
}

bool WebCalendarDialog::publish() {
    const std::string path = fileEdit_->text().toStdString();
    const BusyCursor busy;
    return !showErrors(
        prompts_, publishWebCalendar(path, monthDate_, sources_, detailsCheck_->isChecked(), fs_));
}

void WebCalendarDialog::publishAndLaunch() {
    if (!publish())
        return;
    const std::string path = fileEdit_->text().toStdString();
    if (!openPage_(path))
        prompts_.error("Couldn't open web browser for \"" + path + "\"");
}

void WebCalendarDialog::browse() {
    const QString current = fileEdit_->text();
    const QString folder = current.isEmpty() ? QString() : QFileInfo(current).absolutePath();
    const QString start = folder.isEmpty() ? "calendar.htm" : folder + "/calendar.htm";
    const std::string chosen = prompts_.saveFileName(
        "Name of web page", start.toStdString(), "HTM files|*.htm|HTML files|*.html|All files|*.*");
    if (!chosen.empty())
        fileEdit_->setText(QString::fromStdString(chosen));
}

void WebCalendarDialog::done(int result) {
    // An empty box leaves the remembered file and choice as they were.
    if (!fileEdit_->text().isEmpty()) {
        settings_.writeString(kSection, "LastFile", fileEdit_->text().toStdString());
        settings_.writeBool(kSection, "Details", detailsCheck_->isChecked());
    }
    QDialog::done(result);
}

} // namespace dw
