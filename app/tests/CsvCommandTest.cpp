#include "CsvCommand.h"

#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "ScriptedPrompts.h"
#include "SuggestionPrompt.h"

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
    QString status;
    csv.SetStatus([&](const QString& text) { status = text; });
    ASSERT_TRUE(csv.Run());
    EXPECT_EQ(status, CsvCommand::SavedText(answer)); // the file is named where the user looks
    QFile file(answer);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\"480\"\r\n"));
    EXPECT_EQ(settings.CsvSavePath, dir.filePath("out"));

    // A target that cannot be written is reported.
    answer = dir.filePath("no/such/folder/claim.csv");
    EXPECT_FALSE(csv.Run());
    EXPECT_TRUE(prompts.asked.value(0).contains("claim.csv"));
}

TEST(CsvCommand, SaysWhenShiftJisLostCharacters)
{
    QTemporaryDir dir;
    AppSettings settings;
    settings.CsvOutputItem = "12";
    settings.CsvOutputHeader = 0;
    CCorvaneDoc doc(settings);
    auto line = std::make_unique<EntryInfo>(EntryInfo::ManualLine(0));
    line->remarks = QStringLiteral("𠮷野家 €5");
    auto trip = std::make_unique<EntryInfo>();
    trip->terminalType = 0x16;
    trip->processType = 0x01;
    trip->exitStationName = QStringLiteral("𠮷野");
    EntryLines lines;
    lines.push_back(std::move(line));
    lines.push_back(std::move(trip));
    doc.ReplaceLines(std::move(lines));
    ScriptedPrompts prompts;
    CsvCommand csv(doc, settings, prompts, nullptr);
    const QString path = dir.filePath("claim.csv");
    csv.SetChooser([&](const QString&) { return path; });

    struct Case {
        int profile;
        int encoding;
        bool warned;
        bool utf8Offered;
    };
    const Case cases[] = {
        {AppSettings::kCsvColumns, AppSettings::kCsvShiftJis, true, true},
        {AppSettings::kCsvColumns, AppSettings::kCsvUtf8, false, false},
        {AppSettings::kCsvHistory, AppSettings::kCsvShiftJis, true, false},
    };
    for (const Case& c : cases) {
        settings.CsvProfile = c.profile;
        settings.CsvEncoding = c.encoding;
        prompts.asked.clear();
        EXPECT_TRUE(csv.Run());
        ASSERT_EQ(prompts.asked.size(), c.warned ? 1 : 0) << c.profile << "/" << c.encoding;
        if (c.warned) {
            EXPECT_EQ(prompts.asked[0], CsvCommand::LostCharactersMessage(path, c.utf8Offered));
        }
    }
    EXPECT_TRUE(CsvCommand::LostCharactersMessage(path, true).contains("UTF-8"));
    EXPECT_FALSE(CsvCommand::LostCharactersMessage(path, false).contains("UTF-8"));
}

// Before suggested visit destinations the user never confirmed are written,
// the user chooses: confirm them, leave them empty, or not write at all.
TEST(CsvCommand, AsksAboutUnconfirmedSuggestions)
{
    QTemporaryDir dir;
    AppSettings settings;
    settings.CsvOutputItem = "11";
    settings.CsvOutputHeader = 0;
    CCorvaneDoc doc(settings);
    EntryLines lines;
    for (const char* visit : {"本社", "支店"}) {
        auto line = std::make_unique<EntryInfo>(EntryInfo::ManualLine(0));
        line->fare = 200;
        line->visitDestination = QString::fromUtf8(visit);
        lines.push_back(std::move(line));
    }
    lines[0]->visitSuggested = true;
    doc.ReplaceLines(std::move(lines));
    ScriptedPrompts prompts;
    CsvCommand csv(doc, settings, prompts, nullptr);
    const QString path = dir.filePath("claim.csv");
    csv.SetChooser([&](const QString&) { return path; });
    const auto written = [&] {
        QFile file(path);
        // QString drops the byte-order mark the file starts with.
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    settings.CsvEncoding = AppSettings::kCsvUtf8;

    prompts.answers = {Prompts::Answer::Cancel};
    EXPECT_FALSE(csv.Run());
    EXPECT_EQ(prompts.asked.value(0), SuggestionPrompt::Question(1, QStringLiteral("保存")));
    EXPECT_FALSE(QFile::exists(path));

    prompts.answers = {Prompts::Answer::No};
    ASSERT_TRUE(csv.Run());
    EXPECT_EQ(written(), "\"\"\r\n\"支店\"\r\n");
    EXPECT_TRUE(doc.Lines()[0]->visitSuggested);
    EXPECT_FALSE(doc.IsModified());

    prompts.answers = {Prompts::Answer::Yes};
    ASSERT_TRUE(csv.Run());
    EXPECT_EQ(written(), "\"本社\"\r\n\"支店\"\r\n");
    EXPECT_FALSE(doc.Lines()[0]->visitSuggested);
    EXPECT_EQ(doc.UndoStack().undoText(), "訪問先を確定");

    prompts.asked.clear();
    ASSERT_TRUE(csv.Run()); // nothing left to ask about
    EXPECT_TRUE(prompts.asked.isEmpty());
}
