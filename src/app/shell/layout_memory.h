#pragma once

#include "core/prompts/prompts.h"
#include "core/settings/obj_mgr.h"
#include "core/settings/settings_store.h"

#include <QRect>
#include <memory>

class QMainWindow;

namespace dw {

class PaneSplitter;

// The main window's layout kept from run to run: the client size and the three splitter
// positions, loaded at creation and saved at close, and the "memorized" layout that the
// Resize menu stores and restores on request.
class LayoutMemory {
public:
    LayoutMemory(QMainWindow& window, PaneSplitter* split1, PaneSplitter* split2,
                 PaneSplitter* splitDay, Prompts& prompts);
    ~LayoutMemory();

    void load(const SettingsStore& settings);
    void save(SettingsStore& settings) const;

    // Asks first; stores the window's outer bounds and the splitter positions.
    void memorize(SettingsStore& settings);
    // Puts the memorized layout back, or says it has never been memorized.
    void restore(const SettingsStore& settings);

    // The remembered sizes exclude the menu bar, as they always have.
    int clientWidth() const;
    int clientHeight() const;
    void setClientWidth(int w);
    void setClientHeight(int h);
    const PropertyMemory& properties() const { return memory_; }

private:
    int menuBarHeight() const;
    QRect outerBounds() const;

    QMainWindow& window_;
    PaneSplitter* split1_;
    PaneSplitter* split2_;
    PaneSplitter* splitDay_;
    Prompts& prompts_;
    PropertyMemory memory_;
    std::unique_ptr<TablePropertyHost> host_;
};

} // namespace dw
