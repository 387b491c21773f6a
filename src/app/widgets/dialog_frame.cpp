#include "app/widgets/dialog_frame.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFontMetrics>
#include <QLayout>
#include <QPushButton>
#include <algorithm>

namespace dw {

namespace {

// The room a title bar takes besides the title: the icon, the close button and margins.
constexpr int kTitleBarExtras = 120;

} // namespace

void settleDialogFrame(QWidget* dialog) {
    if (!dialog || !dialog->isWindow())
        return;
    Qt::WindowFlags flags = dialog->windowFlags();
    flags &= ~(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    if (flags != dialog->windowFlags() && !dialog->isVisible())
        dialog->setWindowFlags(flags);
    fitDialogTitle(dialog);
}

void fitDialogTitle(QWidget* dialog) {
    // Title bars use a bold variant of the application font on most desktops.
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    const int titleWidth =
        QFontMetrics(titleFont).horizontalAdvance(dialog->windowTitle()) + kTitleBarExtras;
    QLayout* layout = dialog->layout();
    if (layout && layout->sizeConstraint() == QLayout::SetFixedSize) {
        // The layout fixes the size to what it holds: give it the title's width as a floor.
        if (layout->minimumSize().width() < titleWidth) {
            layout->setSizeConstraint(QLayout::SetNoConstraint);
            dialog->setFixedSize(std::max(layout->sizeHint().width(), titleWidth),
                                 layout->sizeHint().height());
        }
    } else if (dialog->minimumWidth() == dialog->maximumWidth()) {
        if (dialog->width() < titleWidth)
            dialog->setFixedWidth(titleWidth);
    } else if (dialog->minimumWidth() < titleWidth) {
        dialog->setMinimumWidth(titleWidth);
    }
}

bool DialogFrameFilter::eventFilter(QObject* watched, QEvent* e) {
    auto* w = qobject_cast<QDialog*>(watched);
    if (w && w->isWindow()) {
        // Flags before the window exists on the screen, the title's room once the dialog
        // has its title and contents. Message boxes size themselves, title included.
        if (e->type() == QEvent::Polish)
            settleDialogFrame(w);
        else if (e->type() == QEvent::Show && !w->inherits("QMessageBox") &&
                 !w->inherits("QFileDialog"))
            fitDialogTitle(w);
    }
    return QObject::eventFilter(watched, e);
}

QPushButton* dialogButton(QWidget* dialog, const char* objectName, const char* caption) {
    auto* b = new QPushButton(caption, dialog);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    return b;
}

} // namespace dw
