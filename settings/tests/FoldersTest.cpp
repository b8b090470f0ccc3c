#include "Folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(JoinPath, OneSeparatorBetweenParts)
{
    EXPECT_EQ(JoinPath("/home/a", "x.ent"), "/home/a/x.ent");
    EXPECT_EQ(JoinPath("/home/a/", "x.ent"), "/home/a/x.ent");
    EXPECT_EQ(JoinPath("/home/a/", "/x.ent"), "/home/a/x.ent");
    EXPECT_EQ(JoinPath("", "x.ent"), "x.ent");
}

// A path that does not fit is none: never the first part alone, which a
// search for a free name would try forever.
TEST(JoinPath, TooLongIsEmpty)
{
    const QString first = "/" + QString(100, 'a');
    EXPECT_EQ(JoinPath(first, QString(5000, 'b')), QString());
}

TEST(EnsureSubfolder, CreatesOnceAndFailsUnderAFile)
{
    QTemporaryDir dir;
    const QString made = EnsureSubfolder(dir.path(), "ApplyHistory");
    EXPECT_EQ(made, dir.path() + "/ApplyHistory");
    EXPECT_TRUE(QFileInfo(made).isDir());
    EXPECT_EQ(EnsureSubfolder(dir.path(), "ApplyHistory"), made);

    // Creation fails whatever the user's rights: the parent is a plain file.
    QFile file(dir.filePath("plain"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(EnsureSubfolder(file.fileName(), "ApplyHistory"), QString());
    // Only one level is created.
    EXPECT_EQ(EnsureSubfolder(dir.filePath("a/b"), "c"), QString());
    // Never a folder relative to wherever the program runs, nor one too long.
    for (const QString& parent : {QString(), QStringLiteral("relative")})
        EXPECT_EQ(EnsureSubfolder(parent, "ApplyHistory"), QString()) << parent.toStdString();
    EXPECT_FALSE(QFileInfo::exists("ApplyHistory"));
    EXPECT_EQ(EnsureSubfolder(dir.path(), QString(5000, 'c')), QString());
}

TEST(Folders, DocumentsAndDataFoldersExistAfterwards)
{
    const QString documents = GetDocumentsFolder();
    EXPECT_TRUE(documents.endsWith("/Fenwir Lite")) << documents.toStdString();
    EXPECT_TRUE(documents.startsWith(QDir::homePath())) << documents.toStdString();
    EXPECT_TRUE(QFileInfo(documents).isDir());

    const QString data = GetDataFolder();
    EXPECT_TRUE(data.endsWith("/Norkel/Fenwir Lite")) << data.toStdString();
    EXPECT_TRUE(QFileInfo(data).isDir());

    EXPECT_TRUE(QFileInfo(GetModuleFolder()).isDir());
    EXPECT_FALSE(GetModuleFolder().endsWith('/'));
}
