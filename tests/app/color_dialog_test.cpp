#include "app/settings/color_dialog.h"
#include "app/widgets/dialog_frame.h"
#include "app/widgets/win_color.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QPushButton>
#include <QTextCharFormat>
#include <gtest/gtest.h>

namespace dw {
namespace {

TEST(ColorDialog, OffersTheNamedColoursWithSwatches) {
    ColorDialog d;
    EXPECT_EQ(d.windowTitle(), "Set Color");
    for (QComboBox* cb : {d.foregroundCombo(), d.backgroundCombo()}) {
        ASSERT_EQ(cb->count(), static_cast<int>(namedColors().size()));
        for (const char* name :
             {"Black", "Maroon", "Green", "Olive", "Navy", "Purple", "Teal", "Gray", "Silver",
              "Red", "Lime", "Yellow", "Blue", "Fuchsia", "Aqua", "White"})
            EXPECT_GE(cb->findText(name), 0) << name;
        EXPECT_FALSE(cb->itemIcon(0).isNull());
    }
    auto* ok = d.findChild<QPushButton*>("okButton");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(d.findChild<QPushButton*>("cancelButton")->text(), "Cancel");
}

TEST(ColorDialog, PreselectsAndKeepsColoursThatAreNotNamed) {
    ColorDialog d;
    d.setColors(0x00FFFFFF, 0x000000FF);
    EXPECT_EQ(d.foregroundCombo()->currentText(), "White");
    EXPECT_EQ(d.backgroundCombo()->currentText(), "Red");

    const int before = d.backgroundCombo()->count();
    d.setColors(0x80000008, 0x00123456); // a system colour and an odd one
    EXPECT_EQ(d.foregroundCombo()->currentText(), "Window Text");
    EXPECT_EQ(d.backgroundCombo()->count(), before + 1);
    EXPECT_EQ(d.backgroundCombo()->currentText(), "Custom #563412");
    EXPECT_EQ(d.background(), 0x00123456u);
    EXPECT_EQ(d.foreground(), 0x80000008u);
}

TEST(ColorDialog, PreviewFollowsEveryChoice) {
    ColorDialog d;
    d.setColors(0, 0x00FFFF00);
    auto cell = [&] { return d.preview()->weekdayTextFormat(Qt::Wednesday); };
    EXPECT_EQ(cell().background().color(), toQColor(0x00FFFF00));
    EXPECT_EQ(cell().foreground().color(), toQColor(0));

    d.backgroundCombo()->setCurrentIndex(d.backgroundCombo()->findText("Yellow"));
    EXPECT_EQ(cell().background().color(), QColor(255, 255, 0));
    d.foregroundCombo()->setCurrentIndex(d.foregroundCombo()->findText("Navy"));
    EXPECT_EQ(cell().foreground().color(), QColor(0, 0, 128));
    // Every weekday, weekends included.
    for (int day = Qt::Monday; day <= Qt::Sunday; ++day)
        EXPECT_EQ(
            d.preview()->weekdayTextFormat(static_cast<Qt::DayOfWeek>(day)).background().color(),
            QColor(255, 255, 0))
            << day;
}

TEST(ColorDialog, PreviewMonthStartsTheWeekAsTheCalendarsDo) {
    ColorDialog d;
    d.setSundayFirst(true);
    EXPECT_EQ(d.preview()->firstDayOfWeek(), Qt::Sunday);
    d.setSundayFirst(false);
    EXPECT_EQ(d.preview()->firstDayOfWeek(), Qt::Monday);
}

TEST(ColorDialog, ItsFrameOffersNoMaximiseAndRoomForItsTitle) {
    ColorDialog d;
    d.setWindowTitle("Set color for days with tasks done");
    settleDialogFrame(&d);
    EXPECT_FALSE(d.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(d.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(d.windowFlags() & Qt::WindowCloseButtonHint);
    d.show();
    QFont bold = QApplication::font();
    bold.setBold(true);
    EXPECT_GT(d.width(), QFontMetrics(bold).horizontalAdvance(d.windowTitle()));
    // Still a dialog of one size.
    EXPECT_EQ(d.minimumWidth(), d.maximumWidth());
}

} // namespace
} // namespace dw
