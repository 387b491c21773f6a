#include "app/editing/reschedule_dialog.h"
#include "app/widgets/shadow_label.h"

#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace dw {
namespace {

TEST(RescheduleDialog, LabelNamesTheWeekdayAndHowFarTheDateIs) {
    const FormatSettings fs = FormatSettings::enUS();
    const FixedClock clock(encodeDateTime(2000, 1, 3, 9, 30)); // a Monday
    const int monday = dateSerialOf(2000, 1, 3);
    RescheduleDialog d(fs, clock, monday + 1);
    EXPECT_EQ(d.windowTitle(), "Reschedule Task");
    EXPECT_EQ(d.titleCaption()->text(), "Reschedule Task");
    EXPECT_EQ(d.dateLabel()->text(), "Date");
    EXPECT_EQ(d.dateLabel()->buddy(), d.dateEdit());
    EXPECT_TRUE(d.okButton()->isDefault());
    EXPECT_EQ(d.date(), monday + 1);
    EXPECT_EQ(d.weekdayLabel()->text(), "Tuesday : Tomorrow") << "shown for the start date";

    struct Case {
        int offset;
        const char* text;
    } cases[] = {{0, "Monday : Today"}, {-1, "Sunday : Yesterday"}, {5, "Saturday : 5 days"}};
    for (const auto& c : cases) {
        d.dateEdit()->setDate(QDate(2000, 1, 3).addDays(c.offset));
        EXPECT_EQ(d.weekdayLabel()->text(), c.text);
        EXPECT_EQ(d.date(), monday + c.offset);
    }
}

TEST(RescheduleDialog, OkAndCancelCloseWithTheirResult) {
    const FormatSettings fs = FormatSettings::enUS();
    const FixedClock clock(36526);
    RescheduleDialog d(fs, clock, 36526);
    d.show();
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_FALSE(d.isVisible());
    d.show();
    d.okButton()->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

} // namespace
} // namespace dw
