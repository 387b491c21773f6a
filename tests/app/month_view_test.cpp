#include "app/widgets/month_view.h"
#include "app/widgets/win_color.h"

#include <QFontMetrics>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace dw {
namespace {

int serial(int y, int m, int d) {
    return dateSerialOf(y, m, d);
}
DateSerial at(int y, int m, int d) {
    return dateSerialOf(y, m, d);
}

// Every signal of the control, in the order it came, as short texts.
struct Recorder {
    explicit Recorder(MonthView& v) {
        QObject::connect(&v, &MonthView::dateChanged, [this](DateSerial d) {
            const CivilDate c = decodeDate(d);
            log.push_back("date " + std::to_string(c.year) + "-" + std::to_string(c.month) + "-" +
                          std::to_string(c.day));
        });
        QObject::connect(&v, &MonthView::monthChanged,
                         [this](int, int m) { log.push_back("month " + std::to_string(m)); });
        QObject::connect(&v, &MonthView::yearChanged,
                         [this](int y) { log.push_back("year " + std::to_string(y)); });
        QObject::connect(&v, &MonthView::clicked, [this] { log.push_back("clicked"); });
        QObject::connect(&v, &MonthView::cellDoubleClicked, [this](int d) {
            log.push_back("double " + std::to_string(decodeDate(d).day));
        });
    }
    std::vector<std::string> take() { return std::exchange(log, {}); }
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

TEST(MonthView, SetDateRaisesItsEventsInOrderAndOnlyForAChange) {
    MonthView v;
    Recorder rec(v);
    // A fresh control has no selected cell: setting the date it shows still selects it.
    const DateSerial shown = v.date();
    v.setDate(shown);
    EXPECT_TRUE(v.hasSelection());
    EXPECT_EQ(rec.take().size(), 1u);

    v.setDate(serial(2024, 1, 15));
    rec.take();
    struct Case {
        DateSerial to;
        Log expected;
    } cases[] = {
        {at(2024, 1, 15), {}},                            // the same date: nothing
        {at(2024, 1, 20), {"date 2024-1-20"}},            // same month
        {at(2024, 1, 20) + 0.5, {"date 2024-1-20"}},      // only the time of day
        {at(2024, 3, 1), {"date 2024-3-1", "month 3"}},   // another month
        {at(2025, 3, 1), {"date 2025-3-1", "year 2025"}}, // same month number, next year
        {at(2023, 12, 31), {"date 2023-12-31", "month 12", "year 2023"}},
        {std::nan(""), {}},   // not a date
        {1.0e12, {}},         // beyond the year 9999
        {at(1, 1, 1) - 1, {}} // before the year 1
    };
    for (const Case& c : cases) {
        v.setDate(c.to);
        EXPECT_EQ(rec.take(), c.expected) << c.to;
    }
    EXPECT_EQ(v.date(), serial(2023, 12, 31));
    EXPECT_EQ(v.year(), 2023);
    EXPECT_EQ(v.month(), 12);
}

TEST(MonthView, MonthAndYearStepsClampTheDayAndKeepTheTime) {
    MonthView v;
    const double t = 0.75; // 18:00
    struct Case {
        int y, m, d;
        void (MonthView::*step)();
        int ey, em, ed;
    } cases[] = {
        {2024, 1, 31, &MonthView::nextMonth, 2024, 2, 29},
        {2023, 1, 31, &MonthView::nextMonth, 2023, 2, 28},
        {2023, 3, 31, &MonthView::priorMonth, 2023, 2, 28},
        {2023, 12, 31, &MonthView::nextMonth, 2024, 1, 31},
        {2024, 1, 15, &MonthView::priorMonth, 2023, 12, 15},
        {2024, 2, 29, &MonthView::nextYear, 2025, 2, 28},
        {2024, 2, 29, &MonthView::priorYear, 2023, 2, 28},
        {2023, 5, 31, &MonthView::priorMonth, 2023, 4, 30},
        {9999, 12, 31, &MonthView::nextMonth, 9999, 12, 31}, // the calendar ends there
    };
    for (const Case& c : cases) {
        v.setDate(serial(c.y, c.m, c.d) + t);
        (v.*c.step)();
        EXPECT_EQ(decodeDate(v.date()), (CivilDate{c.ey, c.em, c.ed}))
            << c.y << "-" << c.m << "-" << c.d;
        EXPECT_DOUBLE_EQ(dayFraction(v.date()), t);
    }

    // Day steps, across month ends and the epoch, where the time of day counts forward.
    v.setDate(serial(2024, 2, 28));
    v.addDays(7);
    EXPECT_EQ(decodeDate(v.date()), (CivilDate{2024, 3, 6}));
    v.addDays(-7);
    v.addDays(-1);
    EXPECT_EQ(decodeDate(v.date()), (CivilDate{2024, 2, 27}));
    v.setDate(encodeDateTime(1899, 12, 29, 6));
    v.addDays(3);
    EXPECT_EQ(decodeDate(v.date()), (CivilDate{1900, 1, 1}));
    EXPECT_EQ(decodeTime(v.date()).hour, 6);
}

TEST(MonthView, CellsFollowTheWeekStartAndMapPointsBothWays) {
    MonthView v;
    v.setDate(serial(2024, 9, 18)); // 1 September 2024 is a Sunday
    EXPECT_EQ(v.dateOfCell(1), serial(2024, 9, 1));
    EXPECT_EQ(v.dateOfCell(42), serial(2024, 10, 12));
    EXPECT_EQ(v.cellOfDate(serial(2024, 9, 18)), 18);
    v.setMondayFirst(true); // now Sunday the 1st is the last column
    EXPECT_EQ(v.dateOfCell(7), serial(2024, 9, 1));
    EXPECT_EQ(v.dateOfCell(1), serial(2024, 8, 26));
    EXPECT_EQ(v.cellOfDate(serial(2024, 8, 25)), -1);

    const QSize sizes[] = {{150, 120}, {151, 121}, {237, 181}, {333, 250}, {500, 400}};
    for (bool decorated : {false, true}) {
        v.setCaptionVisible(decorated);
        v.setWeekdayHeaderVisible(decorated);
        for (const QSize& s : sizes) {
            v.resize(s);
            SCOPED_TRACE(std::to_string(s.width()) + "x" + std::to_string(s.height()));
            QRect all;
            for (int n = 1; n <= 42; ++n) {
                const QRect r = v.cellRect(n);
                ASSERT_FALSE(r.isEmpty());
                for (const QPoint& p : {r.center(), r.topLeft(), r.bottomRight()})
                    EXPECT_EQ(v.cellAt(p), n);
                if (n % 7 != 0) { // cells tile their row without gaps
                    EXPECT_EQ(v.cellRect(n + 1).left(), r.right() + 1);
                }
                all = all.united(r);
            }
            EXPECT_TRUE(v.rect().contains(all));
            EXPECT_EQ(v.cellAt(QPoint(0, 0)), -1); // on the frame
            EXPECT_EQ(v.cellAt(QPoint(s.width() / 2, all.top() - 1)), -1);
            EXPECT_EQ(v.cellAt(QPoint(all.right() + 1, all.bottom())), -1);
        }
    }
}

TEST(MonthView, ClicksSelectDaysOfTheShownMonthOnly) {
    MonthView v;
    v.resize(280, 200);
    v.setDate(serial(2024, 9, 18) + 0.25);
    Recorder rec(v);

    QTest::mouseClick(&v, Qt::LeftButton, {},
                      v.cellRect(v.cellOfDate(serial(2024, 9, 3))).center());
    EXPECT_EQ(rec.take(), (Log{"date 2024-9-3", "clicked"}));
    EXPECT_DOUBLE_EQ(dayFraction(v.date()), 0.25);

    // A day of October shown in the last rows: still clicked, but not selected.
    QTest::mouseClick(&v, Qt::LeftButton, {},
                      v.cellRect(v.cellOfDate(serial(2024, 10, 2))).center());
    EXPECT_EQ(rec.take(), Log{"clicked"});
    EXPECT_EQ(wholeDays(v.date()), serial(2024, 9, 3));

    // The caption is not a cell; the right button does not click.
    QTest::mouseClick(&v, Qt::LeftButton, {}, QPoint(140, 6));
    QTest::mouseClick(&v, Qt::RightButton, {}, v.cellRect(10).center());
    EXPECT_EQ(rec.take(), Log{"clicked"});

    QTest::mouseDClick(&v, Qt::LeftButton, {},
                       v.cellRect(v.cellOfDate(serial(2024, 9, 20))).center());
    const Log log = rec.take();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "date 2024-9-20");
    EXPECT_NE(std::find(log.begin(), log.end(), "double 20"), log.end());
    QTest::mouseDClick(&v, Qt::LeftButton, {}, v.cellRect(1).center());  // 1 Sep: Sunday, cell 1
    QTest::mouseDClick(&v, Qt::LeftButton, {}, v.cellRect(42).center()); // 12 October
    const Log more = rec.take();
    EXPECT_NE(std::find(more.begin(), more.end(), "double 1"), more.end());
    EXPECT_EQ(std::find(more.begin(), more.end(), "double 12"), more.end());
}

TEST(MonthView, KeysMoveTheSelectedDate) {
    MonthView v;
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        int ey, em, ed;
    } cases[] = {
        {Qt::Key_Down, {}, 2024, 2, 7},
        {Qt::Key_Up, {}, 2024, 1, 24},
        {Qt::Key_Right, {}, 2024, 2, 1},
        {Qt::Key_Left, {}, 2024, 1, 30},
        {Qt::Key_PageDown, {}, 2024, 2, 29},
        {Qt::Key_PageUp, {}, 2023, 12, 31},
        {Qt::Key_Home, {}, 2024, 1, 1},
        {Qt::Key_End, {}, 2024, 1, 31},
        {Qt::Key_PageDown, Qt::ControlModifier, 2025, 1, 31},
    };
    for (const Case& c : cases) {
        v.setDate(serial(2024, 1, 31));
        QTest::keyClick(&v, static_cast<Qt::Key>(c.key), c.mods);
        EXPECT_EQ(decodeDate(v.date()), (CivilDate{c.ey, c.em, c.ed})) << c.key;
    }
    Recorder rec(v);
    v.setDate(serial(2024, 1, 29));
    rec.take();
    QTest::keyClick(&v, Qt::Key_Down);
    EXPECT_EQ(rec.take(), (Log{"date 2024-2-5", "month 2"}));
}

// Renders the control and collects what the draw hook was asked.
struct Drawn {
    int cell, date;
    bool thisMonth, selected;
    QColor fore, back;
};

TEST(MonthView, DrawHookIsAskedForEveryCellAndItsAnswerIsPainted) {
    MonthView v;
    v.resize(280, 220);
    v.setWeekdayHeaderVisible(false);
    v.setCaptionVisible(false);
    v.setToday(serial(2000, 1, 1)); // no today mark in the picture
    v.setDate(serial(2024, 9, 18));
    std::vector<Drawn> asked;
    const int marked = serial(2024, 9, 10), ownDrawn = serial(2024, 9, 11),
              skipped = serial(2024, 9, 12);
    v.setDrawCellHandler([&](MonthView::DrawCell& c) {
        asked.push_back({c.cell, c.date, c.thisMonth, c.selected, c.style.fore, c.style.back});
        if (c.date == marked)
            c.style = {Qt::white, QColor(255, 0, 0), true};
        if (c.date == ownDrawn)
            c.painter.fillRect(c.rect, QColor(0, 0, 255)); // drawn by the owner, no default
        else if (c.date != skipped)
            c.defaultDraw = true;
    });
    const QImage img = v.grab().toImage();

    ASSERT_EQ(asked.size(), 42u);
    for (int i = 0; i < 42; ++i) {
        const Drawn& d = asked[static_cast<size_t>(i)];
        EXPECT_EQ(d.cell, i + 1);
        EXPECT_EQ(d.date, serial(2024, 9, 1) + i);
        EXPECT_EQ(d.thisMonth, i < 30);
        EXPECT_EQ(d.selected, d.date == serial(2024, 9, 18));
        EXPECT_EQ(d.fore, d.thisMonth ? toQColor(0x80000008) : QColor(0x80, 0x80, 0x80));
        EXPECT_EQ(d.back, d.selected ? toQColor(0x80000014) : v.palette().color(QPalette::Button));
    }

    const auto pixel = [&](int date) {
        const QRect r = v.cellRect(v.cellOfDate(date));
        return img.pixelColor(r.left() + 2, r.top() + 2);
    };
    EXPECT_EQ(pixel(marked), QColor(255, 0, 0));
    EXPECT_EQ(pixel(ownDrawn), QColor(0, 0, 255));
    EXPECT_EQ(pixel(skipped), v.palette().color(QPalette::Button)); // nothing drawn there
    // The marked day's number is in its text colour.
    const QRect r = v.cellRect(v.cellOfDate(marked));
    bool white = false;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            white = white || img.pixelColor(x, y) == QColor(Qt::white);
    EXPECT_TRUE(white);
}

TEST(MonthView, DayNumbersFitTheirCellsAtEverySize) {
    MonthView v;
    v.setDate(serial(2024, 9, 18));
    v.setCellBevels(true);
    struct Case {
        QSize size;
        int points;
    } cases[] = {{{150, 120}, 8}, {{150, 120}, 14}, {{200, 140}, 20},
                 {{500, 400}, 8}, {{500, 400}, 30}, {{90, 60}, 8}};
    for (const Case& c : cases) {
        v.resize(c.size);
        v.setDayFontSize(c.points);
        v.setSelectedFontSize(c.points + 4);
        int checked = 0;
        v.setDrawCellHandler([&](MonthView::DrawCell& cell) {
            const QRect ink = QFontMetrics(cell.painter.font()).tightBoundingRect("28");
            EXPECT_LE(ink.width(), cell.rect.width()) << c.size.width() << " " << c.points;
            EXPECT_LE(ink.height(), cell.rect.height()) << c.size.width() << " " << c.points;
            cell.defaultDraw = true;
            ++checked;
        });
        v.grab();
        EXPECT_EQ(checked, 42);
    }
    // A roomy cell keeps the size asked for.
    v.resize(500, 400);
    v.setDayFontSize(9);
    double points = 0;
    v.setDrawCellHandler([&](MonthView::DrawCell& cell) {
        if (!cell.selected)
            points = cell.painter.font().pointSizeF();
        cell.defaultDraw = true;
    });
    v.grab();
    EXPECT_DOUBLE_EQ(points, 9.0);
}

TEST(MonthView, DropsReportTheDateOfTheCellUnderThePointer) {
    MonthView v;
    v.resize(280, 200);
    v.setDate(serial(2024, 9, 18));
    std::vector<int> dropped;
    QObject::connect(&v, &MonthView::cellDropped,
                     [&](int date, QDropEvent*) { dropped.push_back(date); });
    QMimeData data;
    data.setText("task");
    // As in a real drag: the control takes the drag on entering, then gets the drop.
    const auto drop = [&](QPoint p) {
        QDragEnterEvent enter(p, Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&v, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent e(QPointF(p), Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&v, &e);
        return e.isAccepted();
    };
    EXPECT_TRUE(drop(v.cellRect(v.cellOfDate(serial(2024, 9, 5))).center()));
    EXPECT_TRUE(drop(v.cellRect(42).center())); // a neighbouring month's day counts
    EXPECT_FALSE(drop(QPoint(1, 1)));           // on the frame
    EXPECT_EQ(dropped, (std::vector<int>{serial(2024, 9, 5), serial(2024, 10, 12)}));
}

} // namespace
} // namespace dw
