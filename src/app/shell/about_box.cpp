#include "app/shell/about_box.h"

#include "dayweaver_config.h"

#include <QIcon>
#include <QMessageBox>

namespace dw {

QString aboutText() {
    return QString("Dayweaver %1\n\nDay planner and task reminder.").arg(kVersion);
}

void showAboutBox(QWidget* parent) {
    QMessageBox box(parent);
    box.setObjectName("aboutBox");
    box.setWindowTitle("About Dayweaver");
    box.setIconPixmap(QIcon(":/icons/dayweaver.png").pixmap(32, 32));
    box.setText(aboutText());
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

} // namespace dw
