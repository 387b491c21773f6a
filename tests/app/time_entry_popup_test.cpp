#include "app/editing/time_bar_widget.h"
#include "app/editing/time_entry_popup.h"
#include "app/widgets/analog_clock.h"
#include "core/dates/date_serial.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace dw {
namespace {

// The clock stands at 10:42:17 on Wednesday 15 March 2000.
class TimeEntryPopupTest : public ::testing::Test {
protected:
    std::unique_ptr<TimeEntryPopup> open(std::optional<double> time) {
        auto popup = std::make_unique<TimeEntryPopup>(fs, clock);
        popup->setTime(time);
        popup->show();
        return popup;
    }

    static void mouse(TimeBarWidget* bar, QEvent::Type type, int x,
                      Qt::MouseButton button = Qt::LeftButton) {
        const QPointF at(x, 20);
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
        QMouseEvent e(type, at, bar->mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
        QApplication::sendEvent(bar, &e);
    }

    FormatSettings fs = FormatSettings::enUS();
    FixedClock clock{encodeDateTime(2000, 3, 15, 10, 42, 17)};
};

TEST_F(TimeEntryPopupTest, OpensOnTheGivenTimeAndMidnightIsATime) {
    auto popup = open(timeFraction(10, 0));
    EXPECT_EQ(popup->windowTitle(), "Time Entry");
    EXPECT_EQ(popup->timeField->time(), QTime(10, 0));
    EXPECT_EQ(popup->timeBar->pointerX(), 207);
    EXPECT_EQ(popup->timeBar->size(), QSize(495, 42));
    EXPECT_EQ(popup->timeBar->pos(), QPoint(8, 8));
    EXPECT_EQ(popup->clockFace->time(), QTime(10, 0));
    EXPECT_EQ(popup->nowButton->text(), "It is 10:42 AM");
    EXPECT_TRUE(popup->nowTimer->isActive());
    EXPECT_EQ(popup->nowTimer->interval(), 1000);
    EXPECT_FALSE(popup->timeLabel->isVisible());

    // 12:00 AM of a task stays 12:00 AM; only no time at all means now.
    auto midnight = open(0.0);
    EXPECT_EQ(midnight->timeField->time(), QTime(0, 0));
    EXPECT_EQ(midnight->timeBar->pointerX(), 7);
    QTest::keyClick(midnight->timeField, Qt::Key_Return);
    EXPECT_EQ(midnight->result(), QDialog::Accepted);
    EXPECT_EQ(midnight->returnedTime(), 0.0);

    auto now = open(std::nullopt);
    EXPECT_EQ(now->timeField->time().hour(), 10);
    EXPECT_EQ(now->timeField->time().minute(), 42);
}

TEST_F(TimeEntryPopupTest, PressAndDragPickSnappedTimesWithTheLabelShowingThem) {
    auto popup = open(timeFraction(10, 0));
    TimeBarWidget* bar = popup->timeBar;
    struct Case {
        int x;
        QTime time;
        const char* label;
        QColor ground;
    } cases[] = {
        {8, QTime(0, 0), "12:00a", QColor(0, 255, 255)},
        {14, QTime(0, 15), "12:15a", QColor(0, 255, 255)},
        {27, QTime(1, 0), "01:00a", QColor(0, 255, 255)},
        {148, QTime(7, 0), "07:00a", QColor(255, 255, 0)},
        {386, QTime(18, 55), "06:55p", QColor(255, 255, 0)},
        {388, QTime(19, 0), "07:00p", QColor(0, 255, 255)},
        {487, QTime(23, 55), "11:55p", QColor(0, 255, 255)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        mouse(bar, QEvent::MouseButtonPress, c.x, Qt::RightButton); // any button
        EXPECT_TRUE(popup->isDragging());
        EXPECT_TRUE(popup->timeLabel->isVisible());
        EXPECT_EQ(popup->timeField->time(), c.time);
        EXPECT_EQ(bar->pointerX(), c.x) << "the pointer stays where it was put";
        EXPECT_EQ(popup->timeLabel->text(), c.label);
        EXPECT_EQ(popup->timeLabel->palette().color(QPalette::Window), c.ground);
        EXPECT_EQ(popup->timeLabel->geometry().left() + 25, 8 + c.x) << "centred on the pointer";
        EXPECT_EQ(popup->clockFace->time(), c.time);
        mouse(bar, QEvent::MouseButtonRelease, c.x, Qt::RightButton);
        EXPECT_FALSE(popup->isDragging());
        EXPECT_FALSE(popup->timeLabel->isVisible());
    }

    // Dragging follows the pointer; moving without a press changes nothing.
    mouse(bar, QEvent::MouseButtonPress, 207);
    mouse(bar, QEvent::MouseMove, 248);
    EXPECT_EQ(popup->timeField->time(), QTime(12, 0));
    mouse(bar, QEvent::MouseButtonRelease, 248);
    mouse(bar, QEvent::MouseMove, 300);
    EXPECT_EQ(popup->timeField->time(), QTime(12, 0));

    // Beyond the pointer's reach nothing moves, though the label shows.
    mouse(bar, QEvent::MouseButtonPress, 488);
    EXPECT_EQ(popup->timeField->time(), QTime(12, 0));
    EXPECT_EQ(bar->pointerX(), 248);
    EXPECT_TRUE(popup->timeLabel->isVisible());
    mouse(bar, QEvent::MouseButtonRelease, 488);
}

TEST_F(TimeEntryPopupTest, KeysStepTheTimeAndStopAtTheEndsOfTheDay) {
    struct Case {
        QTime from;
        Qt::Key key;
        QTime to;
    } cases[] = {
        {QTime(9, 59, 30), Qt::Key_Up, QTime(10, 0)},
        {QTime(23, 59), Qt::Key_Up, QTime(23, 59)},
        {QTime(10, 0, 30), Qt::Key_Down, QTime(9, 59)},
        {QTime(0, 0), Qt::Key_Down, QTime(0, 0)},
        {QTime(22, 30), Qt::Key_PageUp, QTime(23, 30)},
        {QTime(23, 30), Qt::Key_PageUp, QTime(23, 30)},
        {QTime(0, 30), Qt::Key_PageDown, QTime(0, 30)},
        {QTime(1, 30), Qt::Key_PageDown, QTime(0, 30)},
        {QTime(3, 0), Qt::Key_Home, QTime(10, 42, 17)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from.toString().toStdString() + " " + std::to_string(c.key));
        auto popup = open(c.from.msecsSinceStartOfDay() / 86400000.0);
        popup->timeField->setFocus();
        QTest::keyClick(popup->timeField, c.key);
        EXPECT_EQ(popup->timeField->time(), c.to);
        EXPECT_EQ(popup->timeBar->pointerX(), (60 * c.to.hour() + c.to.minute()) / 3 + 7);
        EXPECT_EQ(popup->clockFace->time(), QTime(c.to.hour(), c.to.minute()));
        EXPECT_TRUE(popup->isVisible()) << "the key is the popup's, not a button's";
    }
}

TEST_F(TimeEntryPopupTest, TypingMovesThePointerWithoutSnapping) {
    auto popup = open(timeFraction(9, 0));
    popup->timeField->setFocus();
    popup->timeField->setSelectedSection(QDateTimeEdit::HourSection);
    QTest::keyClicks(popup->timeField, "10");
    ASSERT_EQ(popup->timeField->time().hour(), 10);
    popup->timeField->setSelectedSection(QDateTimeEdit::MinuteSection);
    QTest::keyClicks(popup->timeField, "05");
    EXPECT_EQ(popup->timeField->time(), QTime(10, 5));
    EXPECT_EQ(popup->timeBar->pointerX(), 208);
    EXPECT_EQ(popup->clockFace->time(), QTime(10, 5));
}

TEST_F(TimeEntryPopupTest, TypedShortFormsTakeTheirMarker) {
    struct Case {
        const char* typed;
        QTime time;
    } cases[] = {
        {"930p", QTime(21, 30)}, {"930a", QTime(9, 30)},     {"1230p", QTime(12, 30)},
        {"1230a", QTime(0, 30)}, {"9:30 pm", QTime(21, 30)}, {"0545P", QTime(17, 45)},
        {"1115", QTime(11, 15)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        auto popup = open(timeFraction(8, 0));
        popup->timeField->setFocus();
        popup->timeField->setSelectedSection(QDateTimeEdit::HourSection);
        QTest::keyClicks(popup->timeField, c.typed);
        EXPECT_EQ(popup->timeField->time(), c.time);
        EXPECT_EQ(popup->clockFace->time(), c.time);
    }
}

TEST_F(TimeEntryPopupTest, NowTakesTheCurrentTimeAndRefreshesItsCaption) {
    auto popup = open(timeFraction(6, 0));
    clock.advanceMinutes(3);
    popup->nowButton->click();
    EXPECT_EQ(popup->timeField->time().hour(), 10);
    EXPECT_EQ(popup->timeField->time().minute(), 45);
    EXPECT_EQ(popup->timeBar->pointerX(), (60 * 10 + 45) / 3 + 7);
    EXPECT_EQ(popup->nowButton->text(), "It is 10:45 AM");
    EXPECT_EQ(popup->clockFace->time(), QTime(10, 45));
}

TEST_F(TimeEntryPopupTest, DoubleClickAndEnterConfirmCancelAndEscapeDoNot) {
    auto popup = open(timeFraction(9, 0));
    mouse(popup->timeBar, QEvent::MouseButtonPress, 27);
    mouse(popup->timeBar, QEvent::MouseButtonRelease, 27);
    mouse(popup->timeBar, QEvent::MouseButtonDblClick, 27);
    EXPECT_EQ(popup->result(), QDialog::Accepted);
    EXPECT_EQ(popup->returnedTime(), timeFraction(1, 0));

    auto enter = open(timeFraction(9, 0));
    QTest::keyClick(enter->timeField, Qt::Key_Up);
    QTest::keyClick(enter->timeField, Qt::Key_Enter);
    EXPECT_EQ(enter->result(), QDialog::Accepted);
    EXPECT_EQ(enter->returnedTime(), timeFraction(9, 1));

    auto escape = open(timeFraction(9, 0));
    QTest::keyClick(escape->timeField, Qt::Key_Escape);
    EXPECT_FALSE(escape->isVisible());
    EXPECT_EQ(escape->result(), QDialog::Rejected);

    auto cancel = open(timeFraction(9, 0));
    cancel->cancelButton->click();
    EXPECT_EQ(cancel->result(), QDialog::Rejected);
}

} // namespace
} // namespace dw
