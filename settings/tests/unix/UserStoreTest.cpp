#include "AppSettings.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

// On Linux the user's settings are an INI file in the XDG config folder.
TEST(AppSettingsUserStore, LivesUnderTheHomeFolder)
{
    AppSettings s;
    s.Load();
    s.Name = "テスト";
    s.Save();
    const QString file = QDir::homePath() + "/.config/Norkel/Fenwir_Lite.conf";
    EXPECT_TRUE(QFileInfo::exists(file)) << file.toStdString();
    AppSettings again;
    again.Load();
    EXPECT_EQ(again.Name, "テスト");
}
