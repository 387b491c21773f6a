#include "app/calendar/filter_dialog.h"

#include "app/settings/font_spec.h"
#include "app/settings/options_dialog.h"
#include "app/shell/app_prompts.h"
#include "app/shell/app_state.h"
#include "app/shell/help_window.h"
#include "app/widgets/shadow_label.h"
#include "app/widgets/win_color.h"
#include "core/calendar/task_filter.h"
#include "core/shell/layout.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace dw {

namespace {

// The filter shares its help page with the task editor.
constexpr int kFilterHelpTopic = HelpTopic::Editor;

template <typename W> W* named(W* w, const char* name) {
    w->setObjectName(name);
    return w;
}

} // namespace

FilterDialog::FilterDialog(AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName("filterDialog");
    setWindowTitle("Task Filters");

    titleCaption_ = named(new ShadowLabel("Task Filters", this), "titleCaption");
    titleCaption_->setAlignment(Qt::AlignCenter);
    const Options& o = state_.options();
    titleCaption_->setFont(toQFont(o.titleFont));
    const CaptionLook look = titleCaptionLook(o.shadows);
    titleCaption_->setShadowDepth(look.shadowDepth);
    titleCaption_->setTextColor(toQColor(look.color));

    categoryList_ = named(new QListWidget(this), "categoryList");
    auto* listLabel = new QLabel("&Categories", this);
    listLabel->setBuddy(categoryList_);
    allButton_ = named(new QPushButton("&All", this), "allButton");
    allButton_->setToolTip("Select all categories");
    noneButton_ = named(new QPushButton("&None", this), "noneButton");
    noneButton_->setToolTip("Clear all categories");
    for (QPushButton* b : {allButton_, noneButton_})
        b->setAutoDefault(false);

    notDoneCheck_ = named(new QCheckBox("   &Not done items", this), "notDoneCheck");
    doneCheck_ = named(new QCheckBox("&Done items", this), "doneCheck");
    // The samples show their captions as they are: the boxes beside them carry the keys.
    notDoneSample_ = new ColorSample("notDoneSample", "Not Done Items", this);
    doneSample_ = new ColorSample("doneSample", "Done Items", this);
    notDoneSample_->setColors(o.notDoneFG, o.notDoneBG);
    doneSample_->setColors(o.doneFG, o.doneBG);

    okButton_ = named(new QPushButton("OK", this), "okButton");
    okButton_->setDefault(true);
    helpButton_ = named(new QPushButton("&Help", this), "helpButton");
    helpButton_->setAutoDefault(false);

    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(allButton_);
    listButtons->addWidget(noneButton_);
    listButtons->addStretch(1);
    auto* states = new QGridLayout;
    states->addWidget(notDoneCheck_, 0, 0);
    states->addWidget(notDoneSample_, 0, 1);
    states->addWidget(doneCheck_, 1, 0);
    states->addWidget(doneSample_, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton_);
    buttons->addWidget(helpButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titleCaption_);
    layout->addWidget(listLabel);
    layout->addWidget(categoryList_, 1);
    layout->addLayout(listButtons);
    layout->addLayout(states);
    layout->addLayout(buttons);

    connect(categoryList_, &QListWidget::itemChanged, this, &FilterDialog::onItemChanged);
    connect(allButton_, &QPushButton::clicked, this, [this] { setAllChecked(true); });
    connect(noneButton_, &QPushButton::clicked, this, [this] { setAllChecked(false); });
    connect(notDoneCheck_, &QCheckBox::toggled, this, [this](bool on) {
        state_.filter().showNotDone = on;
        updateTitle();
    });
    connect(doneCheck_, &QCheckBox::toggled, this, [this](bool on) {
        state_.filter().showDone = on;
        updateTitle();
    });
    connect(notDoneSample_, &ColorSample::clicked, notDoneCheck_, &QCheckBox::toggle);
    connect(doneSample_, &ColorSample::clicked, doneCheck_, &QCheckBox::toggle);
    connect(okButton_, &QPushButton::clicked, this, &FilterDialog::onOkClicked);
    connect(helpButton_, &QPushButton::clicked, this, [] { showHelpTopic(kFilterHelpTopic); });

    showFilterInControls();
    setFixedSize(sizeHint().expandedTo(QSize(300, 380)));
}

void FilterDialog::showFilterInControls() {
    filling_ = true;
    const FilterState& f = state_.filter();
    categoryList_->clear();
    for (const FilterLine& line : f.lines) {
        auto* item = new QListWidgetItem(QString::fromStdString(line.category), categoryList_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(line.checked ? Qt::Checked : Qt::Unchecked);
    }
    notDoneCheck_->setChecked(f.showNotDone);
    doneCheck_->setChecked(f.showDone);
    filling_ = false;
    updateTitle();
}

void FilterDialog::showEvent(QShowEvent* e) {
    // The saved marks come back each time the window opens; other marks stay.
    recheckSavedCategories(state_.filter(), state_.paths().dataDir);
    showFilterInControls();
    QDialog::showEvent(e);
}

void FilterDialog::onItemChanged(QListWidgetItem* item) {
    if (filling_)
        return;
    const int row = categoryList_->row(item);
    std::vector<FilterLine>& lines = state_.filter().lines;
    if (row >= 0 && row < static_cast<int>(lines.size()))
        lines[static_cast<size_t>(row)].checked = item->checkState() == Qt::Checked;
    updateTitle();
}

void FilterDialog::setAllChecked(bool checked) {
    state_.filter().setAllChecked(checked);
    showFilterInControls();
}

void FilterDialog::updateTitle() {
    titleCaption_->setText(state_.filter().filtersActive() ? "Task Filters : On"
                                                           : "Task Filters : Off");
}

void FilterDialog::onOkClicked() {
    showErrors(state_.prompts(), saveCheckedCategories(state_.filter(), state_.paths().dataDir));
    accept();
}

void FilterDialog::done(int result) {
    // However the window closes, the boxes are kept for the next start, and whoever shows
    // tasks refreshes: a day view filled under the old filter would write back wrongly.
    saveFilterBoxes(state_.filter(), state_.settings());
    QDialog::done(result);
    emit closedWithFilter();
}

} // namespace dw
