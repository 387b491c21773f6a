#pragma once

#include "core/dates/format_settings.h"
#include "core/output/web_calendar.h"
#include "core/prompts/prompts.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace dw {

class SettingsStore;

// "Publish Monthly Calendar as Web Page": the output file (remembered as LastFile), whether
// to add the daily details, and the two ways to publish. Made for one use.
class WebCalendarDialog : public QDialog {
    Q_OBJECT
public:
    WebCalendarDialog(SettingsStore& settings, const FormatSettings& fs, Prompts& prompts,
                      QWidget* parent = nullptr);

    void setMonthDate(int date);
    void setSources(WebPageSources sources) { sources_ = std::move(sources); }
    void setTitleFont(const QFont& font);
    // Opens the written page with the user's default program; replaceable in tests.
    void setOpenPage(std::function<bool(const std::string& path)> open) {
        openPage_ = std::move(open);
    }

    QLineEdit* fileEdit() const { return fileEdit_; }
    QCheckBox* detailsCheck() const { return detailsCheck_; }
    QToolButton* browseButton() const { return browseButton_; }
    QPushButton* publishButton() const { return publishButton_; }
    QPushButton* launchButton() const { return launchButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QLabel* title() const { return title_; }

    // Writes the page; false after the missing-name or file message.
    bool publish();
    void publishAndLaunch();
    void browse();

    void done(int result) override;

private:
    SettingsStore& settings_;
    const FormatSettings& fs_;
    Prompts& prompts_;
    int monthDate_ = 0;
    WebPageSources sources_;
    std::function<bool(const std::string&)> openPage_;

    QLabel* title_ = nullptr;
    QLineEdit* fileEdit_ = nullptr;
    QToolButton* browseButton_ = nullptr;
    QCheckBox* detailsCheck_ = nullptr;
    QPushButton* publishButton_ = nullptr;
    QPushButton* launchButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

} // namespace dw
