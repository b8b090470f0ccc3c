// Every test runs with its own empty home folder, so the user's settings and
// documents are never touched, and with Tokyo time, which the card dates assume.
#include "TestEnvironment.h"

#include <QCoreApplication>
#ifdef FENWIR_GUI_TEST
#include <QGuiApplication>
#endif
#ifdef FENWIR_WIDGET_TEST
#include <QApplication>
#endif
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    UsePrivateHomeAndTokyoTime(QDir(home.path()).absolutePath());

#if defined(FENWIR_WIDGET_TEST)
    // Windows and painting without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
#elif defined(FENWIR_GUI_TEST)
    // Fonts and painting without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
