#pragma once

#include <QDialog>
#include <optional>

class QLineEdit;

namespace dw {

// Asks for the sync password when no keyring keeps it; what is typed is never shown.
class PasswordDialog : public QDialog {
    Q_OBJECT
public:
    PasswordDialog(const QString& user, const QString& host, QWidget* parent = nullptr);

    QString password() const;
    QLineEdit* passwordEdit() const { return passwordEdit_; }

private:
    QLineEdit* passwordEdit_;
};

// The password, or nothing when the user cancelled.
std::optional<QString> askSyncPassword(QWidget* parent, const QString& user, const QString& host);

} // namespace dw
