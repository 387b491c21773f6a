#pragma once

#include <QMainWindow>

namespace dw {

// The program's main window. For now an empty frame titled "Dayweaver".
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);
};

} // namespace dw
