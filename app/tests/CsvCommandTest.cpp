#include "CsvCommand.h"

#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "ScriptedPrompts.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(CsvCommand, WritesTheListsLinesAndRemembersTheFolder)
{
    QTemporaryDir dir;
    AppSettings settings;
    settings.CsvSavePath = dir.path();
    settings.CsvOutputItem = "9";
    settings.CsvOutputHeader = 0;
    CCorvaneDoc doc(settings);
    auto line = std::make_unique<EntryInfo>(EntryInfo::ManualLine(0));
    line->fare = 480;
    EntryLines lines;
    lines.push_back(std::move(line));
    doc.ReplaceLines(std::move(lines));
    ScriptedPrompts prompts;
    CsvCommand csv(doc, settings, prompts, nullptr);
    QString proposed;
    QString answer;
    csv.SetChooser([&](const QString& proposal) {
        proposed = proposal;
        return answer;
    });

    EXPECT_FALSE(csv.Run()); // cancelled
    EXPECT_TRUE(QRegularExpression("/Entry\\d{6}-\\d{6}\\.csv$").match(proposed).hasMatch());

    QDir().mkpath(dir.filePath("out"));
    answer = dir.filePath("out/claim.csv");
    ASSERT_TRUE(csv.Run());
    QFile file(answer);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\"480\"\r\n"));
    EXPECT_EQ(settings.CsvSavePath, dir.filePath("out"));

    // A target that cannot be written is reported.
    answer = dir.filePath("no/such/folder/claim.csv");
    EXPECT_FALSE(csv.Run());
    EXPECT_TRUE(prompts.asked.value(0).contains("claim.csv"));
}
