#include "app/modal_helpers.h"

#include <QDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace dw {
namespace {

using test::whenModal;

TEST(WhenModal, ActsOnTheDialogOnceItIsOpen) {
    QDialog dialog;
    bool acted = false;
    whenModal<QDialog>([&](QDialog* d) {
        acted = d == &dialog;
        d->accept();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_TRUE(acted);
}

TEST(WhenModal, ADialogThatNeverOpensFailsTheTestRatherThanHangingIt) {
    // Another modal window blocks: the wait fails and closes it, so its exec() returns.
    QMessageBox other;
    EXPECT_NONFATAL_FAILURE(
        {
            whenModal<QInputDialog>([](QInputDialog* d) { d->accept(); }, 50);
            other.exec();
        },
        "no QInputDialog opened");

    // Nothing opens before the test ends.
    whenModal<QInputDialog>([](QInputDialog* d) { d->accept(); });
    EXPECT_NONFATAL_FAILURE(test::failUnopenedModals(),
                            "no QInputDialog opened before the test ended");
}

} // namespace
} // namespace dw
