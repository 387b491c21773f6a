#include <QApplication>

#include "app/shell/main_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Dayweaver");
    dw::TfrmMain window;
    window.show();
    return QApplication::exec();
}
