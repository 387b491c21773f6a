#include "app/shell/help_window.h"

#include "app/shell/resources.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace dw {

namespace {

QPointer<QTextBrowser> keptWindow;

const QUrl kHelpPage("qrc" + helpPageFile());

void openAt(QTextBrowser* browser, int topic) {
    QUrl url = kHelpPage;
    url.setFragment(QString::number(topic));
    browser->setSource(url);
    browser->scrollToAnchor(QString::number(topic));
}

QTextBrowser* newBrowser(QWidget* parent) {
    auto* b = new QTextBrowser(parent);
    b->setObjectName("helpBrowser");
    b->setOpenExternalLinks(true);
    return b;
}

} // namespace

QString helpPageFile() {
    return ":/help/dayweaver.html";
}

QTextBrowser* helpWindow() {
    return keptWindow;
}

QTextBrowser* showHelpTopic(int topic) {
    initResources();
    if (QWidget* modal = QApplication::activeModalWidget()) {
        QDialog dialog(modal);
        dialog.setWindowTitle("Dayweaver Help");
        auto* layout = new QVBoxLayout(&dialog);
        QTextBrowser* browser = newBrowser(&dialog);
        layout->addWidget(browser);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
        QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
        layout->addWidget(buttons);
        dialog.resize(620, 520);
        openAt(browser, topic);
        dialog.exec();
        return nullptr;
    }
    if (!keptWindow) {
        keptWindow = newBrowser(nullptr);
        keptWindow->setAttribute(Qt::WA_QuitOnClose, false);
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] { delete keptWindow; });
        keptWindow->setWindowTitle("Dayweaver Help");
        keptWindow->resize(620, 560);
    }
    openAt(keptWindow, topic);
    keptWindow->show();
    keptWindow->raise();
    keptWindow->activateWindow();
    return keptWindow;
}

} // namespace dw
