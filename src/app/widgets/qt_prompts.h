#pragma once

#include "core/prompts/prompts.h"

#include <QPointer>
#include <QWidget>

namespace dw {

// The real dialogs behind the Prompts seam: message boxes with the warning beep, the
// one-line input box and the file dialogs, parented to the given window.
class QtPrompts : public Prompts {
public:
    void setParentWindow(QWidget* w) { parent_ = w; }

    void error(const std::string& text) override;
    void info(const std::string& text) override;
    bool askYesNo(const std::string& text, const std::string& caption) override;
    bool inputText(const std::string& caption, const std::string& label,
                   std::string& value) override;
    std::string openFileName(const std::string& caption, const std::string& dir,
                             const std::string& filter) override;
    std::string saveFileName(const std::string& caption, const std::string& dir,
                             const std::string& filter) override;

private:
    QPointer<QWidget> parent_;
};

// "Wav sound files (*.wav)|*.wav|All files (*.*)|*.*" as a Qt file-dialog filter.
QString qtFileFilter(const std::string& filter);

} // namespace dw
