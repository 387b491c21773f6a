#include "app/sync/password_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace dw {

PasswordDialog::PasswordDialog(const QString& user, const QString& host, QWidget* parent)
    : QDialog(parent) {
    setObjectName("passwordDialog");
    setWindowTitle("Synchronise");
    auto* label = new QLabel(QStringLiteral("Password of %1 on %2:").arg(user, host), this);
    passwordEdit_ = new QLineEdit(this);
    passwordEdit_->setObjectName("passwordEdit");
    passwordEdit_->setEchoMode(QLineEdit::Password);
    passwordEdit_->setMinimumWidth(240);
    label->setBuddy(passwordEdit_);
    auto* note = new QLabel("No keyring keeps it: it is asked at each sync.", this);
    note->setEnabled(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(passwordEdit_);
    layout->addWidget(note);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString PasswordDialog::password() const {
    return passwordEdit_->text();
}

std::optional<QString> askSyncPassword(QWidget* parent, const QString& user, const QString& host) {
    PasswordDialog dialog(user, host, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.password();
}

} // namespace dw
