#include "app/shell/layout_memory.h"

#include "app/shell/pane_splitter.h"
#include "core/shell/layout.h"

#include <QMainWindow>
#include <QMenuBar>
#include <algorithm>

namespace dw {

LayoutMemory::LayoutMemory(QMainWindow& window, PaneSplitter* split1, PaneSplitter* split2,
                           PaneSplitter* splitDay, Prompts& prompts)
    : window_(window), split1_(split1), split2_(split2), splitDay_(splitDay), prompts_(prompts),
      memory_(mainWindowObjMgrItems()),
      host_(std::make_unique<TablePropertyHost>(window.objectName().toStdString())) {
    host_->addOwnerProperty(
        "ClientHeight", [this] { return clientHeight(); }, [this](int v) { setClientHeight(v); });
    host_->addOwnerProperty(
        "ClientWidth", [this] { return clientWidth(); }, [this](int v) { setClientWidth(v); });
    for (PaneSplitter* s : {split2_, split1_, splitDay_}) {
        host_->addProperty(
            s->objectName().toStdString(), "Position", [s] { return s->keptPosition(); },
            [s](int v) { s->restorePosition(v); });
    }
}

LayoutMemory::~LayoutMemory() = default;

void LayoutMemory::load(const SettingsStore& settings) {
    memory_.load(settings, *host_);
}

void LayoutMemory::save(SettingsStore& settings) const {
    memory_.save(settings, *host_);
}

int LayoutMemory::menuBarHeight() const {
    QMenuBar* bar = window_.menuBar();
    return bar->isNativeMenuBar() ? 0 : bar->sizeHint().height();
}

int LayoutMemory::clientWidth() const {
    return window_.width();
}

int LayoutMemory::clientHeight() const {
    return window_.height() - menuBarHeight();
}

void LayoutMemory::setClientWidth(int w) {
    window_.resize(w, window_.height());
}

void LayoutMemory::setClientHeight(int h) {
    window_.resize(window_.width(), h + menuBarHeight());
}

QRect LayoutMemory::outerBounds() const {
    return window_.isVisible() ? window_.frameGeometry() : window_.geometry();
}

void LayoutMemory::memorize(SettingsStore& settings) {
    if (!prompts_.askYesNo("Really memorize current screen positions?", ""))
        return;
    const QRect outer = outerBounds();
    writeMemorizedLayout(settings, {outer.top(), outer.left(), outer.height(), outer.width(),
                                    split1_->keptPosition(), split2_->keptPosition(),
                                    splitDay_->keptPosition()});
}

void LayoutMemory::restore(const SettingsStore& settings) {
    const std::optional<MemorizedLayout> l = readMemorizedLayout(settings);
    if (!l) {
        prompts_.error("Screen has not yet been memorized");
        return;
    }
    // Top, left, height, width: each from the outer bounds as they are after the last.
    window_.move(outerBounds().left(), l->top);
    window_.move(l->left, outerBounds().top());
    window_.resize(window_.width(),
                   std::max(1, l->height - (outerBounds().height() - window_.height())));
    window_.resize(std::max(1, l->width - (outerBounds().width() - window_.width())),
                   window_.height());
    split1_->restorePosition(l->split1);
    split2_->restorePosition(l->split2);
    splitDay_->restorePosition(l->splitDay);
}

} // namespace dw
