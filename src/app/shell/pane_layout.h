#pragma once

#include "app/widgets/win_color.h"
#include "core/dates/format_settings.h"
#include "core/shell/layout.h"

#include <QObject>

namespace dw {

class CalendarPane;
class CellGrid;
class PaneSplitter;
class TimerPool;

// The panes' geometry while the program runs: the grids' column widths for their current
// width and font, the calendars' sizes as the splitters move, the deferred layout pass, and
// the Resize menu's flashing of a splitter bar.
class PaneLayout : public QObject {
    Q_OBJECT
public:
    struct Panes {
        CellGrid* gridDay;
        CellGrid* gridNonday;
        PaneSplitter* split1;
        PaneSplitter* split2;
        CalendarPane* calendars;
    };
    PaneLayout(const Panes& panes, const FormatSettings& fs, QObject* parent);

    // The layout trigger of the window's timer pool, which drives the deferred pass and the
    // flashing.
    void setLayoutTrigger(TimerPool* pool, int trigger);

    void layoutGrids();
    void resizeGridDay();
    void resizeGridNonday();
    void onSplit1Moved();
    void onSplit2Moved();
    // The widest time text of the locale in the grid's font, with the cell's padding.
    int widestTimeText() const;

    // Flashes the bar and puts the pointer on it.
    void pointAtSplitter(PaneSplitter* s);
    // One tick of the layout trigger.
    void onLayoutTick();
    // Starts the deferred layout pass.
    void startLayoutPass();

    const LayoutPass& layoutPass() const { return layoutPass_; }
    PaneSplitter* flashTarget() const { return flashTarget_; }

private:
    int pixelsPerInch() const;

    Panes panes_;
    const FormatSettings& fs_;
    TimerPool* pool_ = nullptr;
    int trigger_ = 0;
    LayoutPass layoutPass_;
    PaneSplitter* flashTarget_ = nullptr;
};

} // namespace dw
