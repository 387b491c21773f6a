#include "app/widgets/qt_prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace dw {

namespace {
QString q(const std::string& s) {
    return QString::fromStdString(s);
}
} // namespace

QString qtFileFilter(const std::string& filter) {
    // Pairs of "description|pattern"; Qt wants "description" alone when it already
    // names its patterns in brackets, one entry per line.
    const QStringList parts = q(filter).split('|');
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString desc = parts[i];
        const QString pattern = QString(parts[i + 1]).replace(';', ' ');
        entries << (desc.contains('(') ? desc : desc + " (" + pattern + ")");
    }
    return entries.join(";;");
}

void QtPrompts::error(const std::string& text) {
    QApplication::beep();
    QMessageBox box(QMessageBox::Warning, QApplication::applicationDisplayName(), q(text),
                    QMessageBox::Ok, parent_);
    box.exec();
}

void QtPrompts::info(const std::string& text) {
    QMessageBox box(QMessageBox::Information, QApplication::applicationDisplayName(), q(text),
                    QMessageBox::Ok, parent_);
    box.exec();
}

bool QtPrompts::askYesNo(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::Question,
                    caption.empty() ? QApplication::applicationDisplayName() : q(caption), q(text),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

bool QtPrompts::inputText(const std::string& caption, const std::string& label,
                          std::string& value) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent_, q(caption), q(label), QLineEdit::Normal, q(value), &ok);
    if (ok)
        value = text.toStdString();
    return ok;
}

std::string QtPrompts::openFileName(const std::string& caption, const std::string& dir,
                                    const std::string& filter) {
    return QFileDialog::getOpenFileName(parent_, q(caption), q(dir), qtFileFilter(filter))
        .toStdString();
}

std::string QtPrompts::saveFileName(const std::string& caption, const std::string& dir,
                                    const std::string& filter) {
    return QFileDialog::getSaveFileName(parent_, q(caption), q(dir), qtFileFilter(filter))
        .toStdString();
}

} // namespace dw
