#pragma once

#include "core/settings/options.h"

#include <QDialog>
#include <vector>

class QCalendarWidget;
class QComboBox;

namespace dw {

// Picks a text and a fill colour for one kind of calendar date, from two lists of named
// colours, with a month shown in the chosen colours. The opener sets the caption.
class ColorDialog : public QDialog {
    Q_OBJECT
public:
    explicit ColorDialog(QWidget* parent = nullptr);

    // Preselects the colours; one that is not in a list is added to it as a custom entry.
    void setColors(WinColor foreground, WinColor background);
    // The preview month starts its weeks as the calendars do.
    void setSundayFirst(bool sundayFirst);
    WinColor foreground() const;
    WinColor background() const;

    QComboBox* foregroundCombo() const { return foregroundCombo_; }
    QComboBox* backgroundCombo() const { return backgroundCombo_; }
    QCalendarWidget* preview() const { return preview_; }

private:
    void repaintPreview();

    QCalendarWidget* preview_;
    QComboBox* foregroundCombo_;
    QComboBox* backgroundCombo_;
};

// The named colours the lists offer, in list order.
struct NamedColor {
    const char* name;
    WinColor color;
};
const std::vector<NamedColor>& namedColors();

} // namespace dw
