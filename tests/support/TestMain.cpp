// Every test runs with its own empty home folder, so the user's settings and
// documents are never touched, and with Tokyo time, which the card dates assume.
#include <QCoreApplication>
#ifdef FENWIR_GUI_TEST
#include <QGuiApplication>
#endif
#ifdef FENWIR_WIDGET_TEST
#include <QApplication>
#endif
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    const QByteArray path = QDir(home.path()).absolutePath().toUtf8();
    setenv("HOME", path.constData(), 1);
    setenv("XDG_CONFIG_HOME", (path + "/.config").constData(), 1);
    setenv("XDG_DATA_HOME", (path + "/.local/share").constData(), 1);
    setenv("XDG_RUNTIME_DIR", path.constData(), 1);
    setenv("TZ", "Asia/Tokyo", 1);
    tzset();

#if defined(FENWIR_WIDGET_TEST)
    // Windows and painting without a display.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
#elif defined(FENWIR_GUI_TEST)
    // Fonts and painting without a display.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
