#pragma once

#include <QObject>

class QPushButton;
class QWidget;

namespace dw {

// Gives a dialog the frame a desktop expects: a title bar with only the close button (a
// dialog is neither minimised nor maximised), and, for a dialog of fixed size, room for its
// whole title.
void settleDialogFrame(QWidget* dialog);
// Only the room for the title, for a dialog already on the screen.
void fitDialogTitle(QWidget* dialog);

// A button of `dialog`, found by `objectName`, that Enter presses only when it is made the
// default (a list dialog's Enter belongs to its list).
QPushButton* dialogButton(QWidget* dialog, const char* objectName, const char* caption);

// Settles every dialog of the program as it is first shown, message boxes and file dialogs
// included. Install once on the application.
class DialogFrameFilter : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
};

} // namespace dw
