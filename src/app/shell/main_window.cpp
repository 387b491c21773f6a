#include "app/shell/main_window.h"

namespace dw {

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName("TfrmMain");
    setWindowTitle("Dayweaver");
    resize(800, 560);
}

} // namespace dw
