#include "app/calendar/hover_summary.h"

#include "app/calendar/calendar_pane.h"
#include "app/settings/options_dialog.h"
#include "app/shell/app_state.h"
#include "app/shell/main_actions.h"
#include "app/shell/pane_splitter.h"
#include "app/shell/window_state.h"
#include "app/widgets/cell_grid.h"
#include "app/widgets/month_view.h"
#include "app/widgets/shadow_label.h"
#include "app/widgets/timer_pool.h"
#include "app/widgets/win_color.h"
#include "core/calendar/relative_date.h"
#include "core/dates/date_format.h"
#include "core/holidays/holiday_rules.h"
#include "core/settings/option_keys.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolBar>
#include <QVBoxLayout>

namespace dw {

namespace {

// Tab stops every 12 dialog units: a dialog unit across is a quarter of the average
// character width.
constexpr int kTabStopUnits = 12;

QLabel* boldCentred(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setAlignment(Qt::AlignCenter);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

} // namespace

HoverSummary::HoverSummary(const Views& views, TimerSwitch hoverTrigger,
                           const WindowState& windowState, OptionsDialog* options, AppState& state)
    : QFrame(views.split1->widget(1)), views_(views), hoverTrigger_(hoverTrigger),
      windowState_(windowState), options_(options), state_(state) {
    setObjectName("hoverSummary");
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAutoFillBackground(true);
    dateLabel_ = boldCentred(this, "popupDate");
    whenLabel_ = boldCentred(this, "popupWhen");
    list_ = new QPlainTextEdit(this);
    list_->setObjectName("popupList");
    list_->setReadOnly(true);
    list_->setLineWrapMode(QPlainTextEdit::NoWrap);
    list_->setTabStopDistance(kTabStopUnits * list_->fontMetrics().averageCharWidth() / 4.0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(dateLabel_);
    layout->addWidget(whenLabel_);
    layout->addWidget(list_, 1);
    hide();

    CalendarPane* pane = views_.calendars;
    connect(pane, &CalendarPane::calendarMouseMoved, this, &HoverSummary::onMouseMoved);
    connect(pane, &CalendarPane::calendarActivated, this, &HoverSummary::hideSummary);
    const MainActions& a = *views_.actions;
    for (int i = 0; i < 4; ++i) {
        MonthView* cal = pane->calendar(i);
        cal->setContextMenuPolicy(Qt::ActionsContextMenu);
        cal->addAction(a.popupEnable);
        cal->addAction(a.popupDisable);
    }
    connect(a.popupEnable, &QAction::triggered, this, &HoverSummary::enableSummary);
    connect(a.popupDisable, &QAction::triggered, this, &HoverSummary::disableSummary);

    for (QWidget* w : std::initializer_list<QWidget*>{
             views_.dateCaption, views_.gridDay->viewport(), views_.notesPane->viewport(),
             views_.todoCaption, views_.gridNonday->viewport(), views_.mainToolBar,
             list_->viewport()})
        watchForHiding(w);
    // Every key pressed in the main window hides the summary; moves over the watched
    // controls are seen here too.
    qApp->installEventFilter(this);
    syncMenu();
}

void HoverSummary::watchForHiding(QWidget* w) {
    w->setMouseTracking(true);
    hidingWidgets_.append(w);
}

bool HoverSummary::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseMove) {
        if (isVisible() && hidingWidgets_.contains(watched))
            hideSummary();
    } else if (e->type() == QEvent::KeyPress) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->window() == views_.window)
            hideSummary();
    }
    return QFrame::eventFilter(watched, e);
}

void HoverSummary::onMouseMoved(int calendarIndex, const QPoint& pos) {
    if (!state_.options().popup)
        return;
    const MonthView* cal = views_.calendars->calendar(calendarIndex);
    if (!cal)
        return;
    if (tracker_.mouseMoved(calendarIndex, cal->cellAt(pos), pos.x(), pos.y(), isVisible()))
        hideSummary();
    // A new cell starts the countdown, and the trigger runs only while it counts.
    if (tracker_.countdown() > 0)
        hoverTrigger_.setEnabled(true);
}

void HoverSummary::tick() {
    const bool due = tracker_.tick(windowState_.alarmBusy) && state_.options().popup;
    // Once the countdown has run out, ticks change nothing until the pointer reaches another
    // cell: the trigger rests, so an idle program is not woken every 120 ms.
    if (tracker_.countdown() <= 0)
        hoverTrigger_.setEnabled(false);
    if (due && tracker_.cell() > 0)
        fill();
}

void HoverSummary::fill() {
    const MonthView* cal = views_.calendars->calendar(tracker_.calendar());
    if (!cal)
        return;
    // Over the date caption and the day view.
    PaneSplitter* split1 = views_.split1;
    setGeometry(0, 0, std::max(1, split1->width() - split1->position() - 6),
                std::max(1, split1->height() - 4));
    const int date = cal->dateOfCell(tracker_.cell());
    dateLabel_->setText(QString::fromStdString(formatDateTime("dddddd", date, state_.fs())));
    whenLabel_->setText(QString::fromStdString(relativeDateText(date, state_.clock())));

    lines_.clear();
    const Options& o = state_.options();
    WinColor fore = SysColor::WindowText, back = SysColor::ButtonFace;
    const std::string holiday = holidayForDate(state_.gridHoliday(), date, state_.fs());
    if (!holiday.empty()) {
        fore = o.holidayFG;
        back = o.holidayBG;
        lines_.push_back(holiday);
        lines_.emplace_back();
    }
    for (std::string& line : hoverSummaryLines(state_.store(), date))
        lines_.push_back(std::move(line));
    QPalette p = list_->palette();
    p.setColor(QPalette::Text, toQColor(fore));
    p.setColor(QPalette::Base, toQColor(back));
    list_->setPalette(p);
    QStringList text;
    for (const std::string& line : lines_)
        text << QString::fromStdString(line);
    list_->setPlainText(text.join('\n'));
    if (lines_.size() > 1) {
        show();
        raise();
    } else {
        hide();
    }
}

void HoverSummary::hideSummary() {
    hide();
}

void HoverSummary::syncMenu() {
    const bool on = state_.options().popup;
    views_.actions->popupEnable->setChecked(on);
    views_.actions->popupDisable->setChecked(!on);
}

void HoverSummary::saveOptions() {
    if (options_)
        options_->saveSettings();
    else
        dw::saveOptions(state_.settings(), state_.options());
}

void HoverSummary::enableSummary() {
    state_.options().popup = true;
    syncMenu();
    saveOptions();
    hoverTrigger_.setEnabled(true);
}

void HoverSummary::disableSummary() {
    state_.options().popup = false;
    hoverTrigger_.setEnabled(false);
    syncMenu();
    saveOptions();
    hideSummary();
}

} // namespace dw
