#pragma once

#include <QDialog>

class QCheckBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace dw {

class AppState;
class ColorSample;
class ShadowLabel;

// The task filter window: which categories and which done states are shown. It edits the
// application's FilterState directly, so a change takes effect the moment it is clicked.
// "OK" also saves the checked categories to category.yyy; every way of closing writes the
// two boxes to the settings and announces `closedWithFilter`, after which the calendars and
// the day view are to be refreshed.
class FilterDialog : public QDialog {
    Q_OBJECT
public:
    FilterDialog(AppState& state, QWidget* parent = nullptr);

    QListWidget* categoryList() const { return categoryList_; }
    QCheckBox* notDoneCheck() const { return notDoneCheck_; }
    QCheckBox* doneCheck() const { return doneCheck_; }
    ColorSample* notDoneSample() const { return notDoneSample_; }
    ColorSample* doneSample() const { return doneSample_; }
    ShadowLabel* titleCaption() const { return titleCaption_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* allButton() const { return allButton_; }
    QPushButton* noneButton() const { return noneButton_; }
    QPushButton* helpButton() const { return helpButton_; }

    void done(int result) override;

signals:
    void closedWithFilter();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void showFilterInControls();
    void onItemChanged(QListWidgetItem* item);
    void setAllChecked(bool checked);
    void updateTitle();
    void onOkClicked();

    AppState& state_;
    bool filling_ = false;
    ShadowLabel* titleCaption_;
    QListWidget* categoryList_;
    QPushButton* allButton_;
    QPushButton* noneButton_;
    QCheckBox* notDoneCheck_;
    QCheckBox* doneCheck_;
    ColorSample* notDoneSample_;
    ColorSample* doneSample_;
    QPushButton* okButton_;
    QPushButton* helpButton_;
};

} // namespace dw
