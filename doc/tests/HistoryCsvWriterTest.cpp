#include "HistoryCsvWriter.h"

#include "AppSettings.h"
#include "EntryList.h"
#include "LocalTime.h"
#include "ShiftJis.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
constexpr CardId kCard = {0x01, 0x14, 0x02, 0x12, 0x3A, 0x4B, 0xCD, 0xEF};
constexpr CardId kOtherCard = {0x01, 0x01, 0x12, 0x10, 0x77, 0x0A, 0x55, 0x01};

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

EntryInfo CardLine(int day, int serial, int terminal, int process, int fare, int balance)
{
    EntryInfo line;
    line.applyFlag = fare > 0 ? 1 : 0;
    line.idm = kCard;
    line.terminalType = static_cast<std::uint8_t>(terminal);
    line.processType = static_cast<std::uint8_t>(process);
    line.dateTime = *LocalToTimestamp(2024, 3, day, 0, 0, 0);
    line.serialNumber = serial;
    line.fare = fare;
    line.balance = balance;
    return line;
}

EntryInfo Rail(EntryInfo line, const QString& from, const QString& to)
{
    line.entryCompanyName = QStringLiteral("ＪＲ東");
    line.entryLineName = QStringLiteral("山手線");
    line.entryStationName = from;
    if (!to.isEmpty()) {
        line.exitCompanyName = QStringLiteral("ＪＲ東");
        line.exitLineName = QStringLiteral("山手線");
        line.exitStationName = to;
    }
    return line;
}

// A week of one card in the order a read appends it (oldest first), with a
// line of another card, a manual line and a hidden line among them.
EntryLines Week()
{
    EntryLines lines;
    const auto add = [&](EntryInfo line) {
        lines.push_back(std::make_unique<EntryInfo>(std::move(line)));
    };
    EntryInfo other = CardLine(2, 40, 0x16, 0x01, 180, 820);
    other.idm = kOtherCard;
    other.entryCompanyName = other.exitCompanyName = QStringLiteral("東京地下鉄");
    other.entryStationName = QStringLiteral("銀座");
    other.exitStationName = QStringLiteral("渋谷");
    add(other);
    EntryInfo charge = Rail(CardLine(4, 10, 0x08, 0x02, -3000, 4000), QStringLiteral("東京"), {});
    charge.remarks = QStringLiteral("現金チャージ");
    add(charge);
    add(Rail(CardLine(4, 11, 0x16, 0x01, 200, 3800), QStringLiteral("東京"),
             QStringLiteral("新宿")));
    EntryInfo bus = CardLine(5, 12, 0x05, 0x0D, 210, 3590);
    bus.exitCompanyName = QStringLiteral("都営バス");
    bus.exitLineName = QStringLiteral("都02");
    bus.exitStationName = QStringLiteral("大塚駅前");
    add(bus);
    EntryInfo shop = CardLine(5, 13, 0xC7, 0x46, 150, 3440);
    shop.dateTime = *LocalToTimestamp(2024, 3, 5, 19, 18, 0);
    shop.applyFlag = 0; // never claimed
    add(shop);
    add(Rail(CardLine(6, 14, 0x16, 0x15, -3000, 6440), QStringLiteral("新宿"), {}));
    EntryInfo manual = EntryInfo::ManualLine(*LocalToTimestamp(2024, 3, 7, 9, 0, 0));
    manual.fare = 500;
    add(manual);
    add(Rail(CardLine(6, 15, 0x16, 0x01, 140, 6300), QStringLiteral("神田, 東口"),
             QStringLiteral("秋葉原")));
    EntryInfo hidden = Rail(CardLine(7, 16, 0x16, 0x01, 170, 6130), QStringLiteral("秋葉原"),
                            QStringLiteral("上野"));
    hidden.hidden = 1;
    add(hidden);
    return lines;
}

QStringList Rows(const QString& text)
{
    QStringList rows = text.split(QStringLiteral("\r\n"));
    rows.removeLast(); // after the last CR LF
    return rows;
}

class HistoryCsvTest : public ::testing::Test
{
protected:
    HistoryCsvTest()
    {
        list.lines = Week();
        settings.CsvProfile = AppSettings::kCsvHistory;
    }

    QByteArray Export()
    {
        const QString path = dir.filePath("history.csv");
        ok = list.WriteCsv(settings, path);
        return ReadAll(path);
    }

    QTemporaryDir dir;
    AppSettings settings;
    EntryList list;
    bool ok = false;
};
} // namespace

TEST_F(HistoryCsvTest, GoldenFile)
{
    const QByteArray golden = ReadAll(FENWIR_SOURCE_DIR "/doc/tests/data/card-history.csv");
    EXPECT_EQ(Export(), golden);
    EXPECT_TRUE(ok);

    // Neither the column choices nor the encoding change this layout.
    settings.CsvOutputItem = QString();
    settings.CsvOutputHeader = 0;
    settings.CsvEncoding = AppSettings::kCsvUtf8;
    EXPECT_EQ(Export(), golden);
}

TEST_F(HistoryCsvTest, ClaimOnlyAndWholeCardId)
{
    settings.CsvApplyOnly = 1;
    settings.CsvShowCardId = 1;
    const QStringList rows = Rows(DecodeShiftJis(Export()));
    EXPECT_EQ(rows, QStringList({
                        "カードID=011402123A4BCDEF",
                        "利用年月日,定期,鉄道会社名,入場駅/事業者名,定期,鉄道会社名,"
                        "出場駅/降車場所,利用額(円),残額(円),メモ",
                        "2024/03/06,,ＪＲ東,\"神田, 東口\",,ＪＲ東,秋葉原,140,6300,",
                        "2024/03/05,,,都営バス,,,大塚駅前,210,3590,ﾊﾞｽ/路面等",
                        "2024/03/04,,ＪＲ東,東京,,ＪＲ東,新宿,200,3800,",
                        "2024/03/02,,東京地下鉄,銀座,,東京地下鉄,渋谷,180,820,",
                    }));
}

TEST_F(HistoryCsvTest, WithoutCardLinesOnlyTheHeadWritten)
{
    list.lines.clear();
    list.lines.push_back(std::make_unique<EntryInfo>(EntryInfo::ManualLine(0)));
    const QStringList rows = Rows(DecodeShiftJis(Export()));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0], "カードID=");
    EXPECT_TRUE(rows[1].startsWith("利用年月日,"));
    EXPECT_TRUE(ok);
}

TEST_F(HistoryCsvTest, WithinADayBySequenceNumberNewestFirst)
{
    // A purchase at 12:34 holds its time of day, a later trip only its day.
    list.lines.clear();
    EntryInfo shop = CardLine(8, 1, 0xC7, 0x46, 150, 850);
    shop.dateTime = *LocalToTimestamp(2024, 3, 8, 12, 34, 0);
    EntryInfo trip =
        Rail(CardLine(8, 2, 0x16, 0x01, 200, 650), QStringLiteral("東京"), QStringLiteral("新宿"));
    EntryInfo nextDay =
        Rail(CardLine(9, 3, 0x16, 0x01, 200, 450), QStringLiteral("新宿"), QStringLiteral("東京"));
    for (const EntryInfo* line : {&shop, &trip, &nextDay})
        list.lines.push_back(std::make_unique<EntryInfo>(*line));
    const QStringList rows = Rows(DecodeShiftJis(Export()));
    ASSERT_EQ(rows.size(), 5);
    EXPECT_EQ(rows[2], "2024/03/09,,ＪＲ東,新宿,,ＪＲ東,東京,200,450,");
    EXPECT_EQ(rows[3], "2024/03/08,,ＪＲ東,東京,,ＪＲ東,新宿,200,650,");
    EXPECT_EQ(rows[4], "2024/03/08,,,,,,,150,850,物販");
}

TEST_F(HistoryCsvTest, FormulaTextIsWrittenInertAmountsStayNumbers)
{
    list.lines.clear();
    EntryInfo charge = Rail(CardLine(4, 10, 0x08, 0x02, -3000, 4000), QStringLiteral("=1+1"), {});
    EntryInfo trip = Rail(CardLine(4, 11, 0x16, 0x01, 200, 3800), QStringLiteral("@SUM(A1)"),
                          QStringLiteral("-2+3"));
    trip.entryCompanyName = QStringLiteral("+cmd");
    trip.exitCompanyName = QStringLiteral("=HYPERLINK(\"x\")");
    EntryInfo bus = CardLine(5, 12, 0x05, 0x0D, 210, 3590);
    bus.exitCompanyName = QStringLiteral("\t=1");
    bus.exitStationName = QStringLiteral("大塚駅前");
    for (const EntryInfo* line : {&charge, &trip, &bus})
        list.lines.push_back(std::make_unique<EntryInfo>(*line));
    for (const int encoding : {AppSettings::kCsvShiftJis, AppSettings::kCsvUtf8}) {
        settings.CsvEncoding = encoding;
        const QStringList rows = Rows(DecodeShiftJis(Export()));
        ASSERT_EQ(rows.size(), 5);
        EXPECT_EQ(rows[2], "2024/03/05,,,'\t=1,,,大塚駅前,210,3590,ﾊﾞｽ/路面等");
        EXPECT_EQ(rows[3],
                  "2024/03/04,,'+cmd,'@SUM(A1),,\"'=HYPERLINK(\"\"x\"\")\",'-2+3,200,3800,");
        EXPECT_EQ(rows[4], "2024/03/04,,ＪＲ東,'=1+1,,,,-3000,4000,ﾁｬｰｼﾞ");
    }
}

TEST(HistoryCsvWriter, CardIdMaskedToItsLastFourDigits)
{
    EXPECT_EQ(HistoryCsvWriter::FormatCardId(kCard, false), "************CDEF");
    EXPECT_EQ(HistoryCsvWriter::FormatCardId(kCard, true), "011402123A4BCDEF");
    EXPECT_EQ(HistoryCsvWriter::FormatCardId(CardId{}, false), "************0000");
}

TEST(HistoryCsvWriter, MemoByTerminalAndProcess)
{
    struct Case {
        int terminal;
        int process;
        const char* memo;
    };
    const Case cases[] = {
        {0x16, 0x01, ""},           // fare at a gate
        {0x16, 0x05, ""},           // settled on entry
        {0x12, 0x03, ""},           // magnetic ticket bought with the card
        {0x16, 0x14, "ｵｰﾄﾁｬｰｼﾞ"},   // on entry
        {0x16, 0x15, "ｵｰﾄﾁｬｰｼﾞ"},   // on exit
        {0x08, 0x02, "ﾁｬｰｼﾞ"},      // at a ticket machine
        {0xC7, 0x49, "ﾁｬｰｼﾞ"},      // cash at a shop till
        {0x05, 0x1F, "ﾁｬｰｼﾞ"},      // on a bus
        {0x16, 0x48, "ﾁｬｰｼﾞ"},      // points
        {0x05, 0x0D, "ﾊﾞｽ/路面等"}, // bus fare
        {0x05, 0x01, "ﾊﾞｽ/路面等"}, // any record of a bus terminal
        {0x16, 0x0F, "ﾊﾞｽ/路面等"}, // tram and bus process on another terminal
        {0x16, 0x23, "ﾊﾞｽ/路面等"}, // bus pass
        {0xC7, 0x46, "物販"},       // shop
        {0xC8, 0x46, "物販"},       // vending machine
        {0x16, 0x4B, "物販"},       // bought inside the gates
        {0xC7, 0x4A, "物販"},       // a purchase cancelled
        {0x12, 0xC6, "物販"},       // part paid in cash
    };
    for (const Case& c : cases) {
        EntryInfo line;
        line.terminalType = static_cast<std::uint8_t>(c.terminal);
        line.processType = static_cast<std::uint8_t>(c.process);
        EXPECT_EQ(HistoryCsvWriter::Memo(line), QString::fromUtf8(c.memo))
            << c.terminal << "/" << c.process;
    }
}
