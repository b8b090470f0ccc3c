// A dialog that grows (the print dialog's オプション) or opens too low stays
// whole on the screen, its buttons in reach.
#include "ScreenFit.h"

#include <QDialog>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

TEST(ScreenFit, AGrowingDialogStaysOnTheScreen)
{
    ScreenFit::Install();
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* options = new QWidget(&dialog);
    options->setMinimumHeight(300);
    options->hide();
    layout->addWidget(options);
    auto* ok = new QPushButton(QStringLiteral("印刷"), &dialog);
    layout->addWidget(ok);
    const QRect area = dialog.screen()->availableGeometry();
    dialog.move(area.left() + 50, area.bottom() - 150);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    options->show(); // the dialog grows downwards
    const auto whole = [&] { return area.contains(dialog.frameGeometry()); };
    EXPECT_TRUE(QTest::qWaitFor(whole))
        << dialog.frameGeometry().bottom() << " > " << area.bottom();
    EXPECT_TRUE(area.contains(ok->mapToGlobal(ok->rect().bottomRight())));

    dialog.resize(dialog.width(), area.height() * 2); // taller than the screen
    EXPECT_TRUE(QTest::qWaitFor(whole));
}
