#include "CsvWriter.h"

#include "AppSettings.h"
#include "EntryList.h"
#include "EntrySamples.h"
#include "LocalTime.h"
#include "ShiftJis.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
QByteArray ReadOrMissing(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class CsvExportTest : public ::testing::Test
{
protected:
    CsvExportTest()
    {
        auto charge = std::make_unique<EntryInfo>(SampleCardLine(1));
        charge->dateTime = *LocalToTimestamp(2024, 3, 5, 0, 0, 0);
        charge->fare = -3000;
        charge->balance = 12345;
        charge->applyFlag = 0;
        charge->remarks = QStringLiteral("現金チャージ");
        auto ride = std::make_unique<EntryInfo>(SampleCardLine(2));
        ride->dateTime = *LocalToTimestamp(2024, 3, 6, 19, 18, 0);
        ride->remarks = QStringLiteral("say \"hi\", ok");
        auto hidden = std::make_unique<EntryInfo>(SampleCardLine(3));
        hidden->hidden = 1;
        list.lines.push_back(std::move(charge));
        list.lines.push_back(std::move(ride));
        list.lines.push_back(std::move(hidden));
    }

    QString Export(bool* replaced = nullptr)
    {
        const QString path = dir.filePath("out.csv");
        ok = list.WriteCsv(settings, path, replaced);
        return DecodeShiftJis(ReadOrMissing(path));
    }

    QTemporaryDir dir;
    AppSettings settings{[] {
        AppSettings s;
        s.CsvOutputItem = "2,5,8,9,11,12";
        s.CsvApplyOnly = 0;
        s.CsvOutputHeader = 1;
        return s;
    }()};
    EntryList list;
    bool ok = false;
};
} // namespace

TEST_F(CsvExportTest, DefaultColumns)
{
    EXPECT_EQ(Export(),
              "\"日付\",\"入場駅名\",\"出場駅名\",\"料金/入金額\",\"訪問先\",\"備考\"\r\n"
              "\"2024/03/05\",\"東京\",\"新宿\",\"-3000\",\"本社 1\",\"現金チャージ\"\r\n"
              "\"2024/03/06\",\"東京\",\"新宿\",\"202\",\"本社 2\",\"say \"\"hi\"\", ok\"\r\n");
    EXPECT_TRUE(ok);
}

TEST_F(CsvExportTest, OptionsAndOddColumns)
{
    settings.CsvOutputItem = "10,1,,9,9,13,0";
    settings.CsvOutputHeader = 0;
    settings.CsvApplyOnly = 1;
    EXPECT_EQ(Export(), "\"4321\",\"\",\"202\",\"202\",\"\",\"\"\r\n");
    settings.CsvOutputHeader = 1;
    settings.CsvApplyOnly = 0;
    EXPECT_TRUE(
        Export().startsWith("\"残高\",\"連番\",\"料金/入金額\",\"料金/入金額\",\"\",\"\"\r\n"));
}

TEST_F(CsvExportTest, EveryCatalogueColumn)
{
    settings.CsvOutputItem = "3,4,6,7";
    settings.CsvOutputHeader = 1;
    EXPECT_TRUE(
        Export().startsWith("\"入場会社名\",\"入場路線名\",\"出場会社名\",\"出場路線名\"\r\n"
                            "\"ＪＲ東\",\"山手線\",\"ＪＲ東\",\"中央線\"\r\n"));
}

TEST_F(CsvExportTest, LineBreaksInsideACellAreCrLf)
{
    settings.CsvOutputItem = "12";
    settings.CsvOutputHeader = 0;
    list.lines[0]->remarks = QStringLiteral("一行目\n二行目\r\n三行目");
    list.lines.resize(1);
    EXPECT_EQ(Export(), "\"一行目\r\n二行目\r\n三行目\"\r\n");
}

TEST_F(CsvExportTest, WrittenAsShiftJisWithoutBom)
{
    settings.CsvOutputItem = "5";
    settings.CsvOutputHeader = 0;
    Export();
    EXPECT_EQ(ReadOrMissing(dir.filePath("out.csv")).left(6), QByteArray("\"\x93\x8C\x8B\x9E\"", 6));
}

TEST_F(CsvExportTest, Utf8WithByteOrderMarkGoldenFile)
{
    settings.CsvEncoding = AppSettings::kCsvUtf8;
    settings.CsvOutputItem = "2,5,8,9,12";
    list.lines[0]->exitStationName.clear();
    list.lines[1]->dateTime = list.lines[0]->dateTime;
    list.lines[1]->remarks = QStringLiteral("€ と 🚃"); // beyond Shift-JIS
    bool replaced = true;
    Export(&replaced);
    EXPECT_TRUE(ok);
    EXPECT_FALSE(replaced);
    EXPECT_EQ(ReadOrMissing(dir.filePath("out.csv")),
              ReadOrMissing(FENWIR_SOURCE_DIR "/doc/tests/data/columns-utf8.csv"));
}

TEST_F(CsvExportTest, UnencodableCharactersBecomeQuestionMarks)
{
    list.lines[0]->remarks = QStringLiteral("€ & 😀 駅");
    settings.CsvOutputItem = "12";
    settings.CsvOutputHeader = 0;
    bool replaced = false;
    EXPECT_TRUE(Export(&replaced).startsWith("\"? & ? 駅\"\r\n"));
    EXPECT_TRUE(ok);
    EXPECT_TRUE(replaced);
    list.lines[0]->remarks = QStringLiteral("駅");
    Export(&replaced);
    EXPECT_FALSE(replaced);
}

TEST_F(CsvExportTest, SilentFailures)
{
    settings.CsvOutputItem = ",,";
    EXPECT_EQ(Export(), "");
    EXPECT_FALSE(ok);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("out.csv"))); // an empty file remains

    list.lines.clear();
    settings.CsvOutputItem = "2";
    const QString path = dir.filePath("none.csv");
    EXPECT_FALSE(list.WriteCsv(settings, path));
    EXPECT_FALSE(QFileInfo::exists(path));

    EXPECT_FALSE(list.WriteCsv(settings, dir.filePath("no/such/folder.csv")));
}

TEST_F(CsvExportTest, FormulaTextIsWrittenInertInBothEncodings)
{
    struct Case {
        QString typed;
        QString written;
    };
    const Case cases[] = {
        {"=HYPERLINK(\"http://x\")", "'=HYPERLINK(\"\"http://x\"\")"},
        {"+1+1", "'+1+1"},
        {"-2+3", "'-2+3"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"\t=1", "'\t=1"},
        {"\r=1", "'\r=1"},
        {"本社=1", "本社=1"},
        {" =1", " =1"},
    };
    settings.CsvOutputItem = "9,10,3,4,5,6,7,8,11,12";
    settings.CsvOutputHeader = 0;
    list.lines.resize(1); // the charge: fare -3000
    for (const int encoding : {AppSettings::kCsvShiftJis, AppSettings::kCsvUtf8}) {
        settings.CsvEncoding = encoding;
        for (const Case& c : cases) {
            EntryInfo& line = *list.lines[0];
            for (QString* text : {&line.entryCompanyName, &line.entryLineName,
                                  &line.entryStationName, &line.exitCompanyName, &line.exitLineName,
                                  &line.exitStationName, &line.visitDestination, &line.remarks})
                *text = c.typed;
            Export();
            const QByteArray bytes = ReadOrMissing(dir.filePath("out.csv"));
            const QString text = encoding == AppSettings::kCsvUtf8 ? QString::fromUtf8(bytes.mid(3))
                                                                   : DecodeShiftJis(bytes);
            const QString cell = QLatin1Char('"') + c.written + QLatin1Char('"');
            EXPECT_EQ(text, QStringLiteral("\"-3000\",\"12345\"") +
                                QString(",%1").repeated(8).arg(cell) + "\r\n")
                << c.typed.toStdString() << " encoding " << encoding;
        }
    }
}
