// What search, copy-paste and expense systems read of a claim PDF: its text
// layer must give back every date, name and amount exactly.
#include "PdfText.h"

#include "ClaimRules.h"
#include "DefaultLayout.h"
#include "LocalTime.h"
#include "PdfExport.h"
#include "PrintFonts.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRawFont>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

namespace
{
QString LaidOutText(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("<pdftotext failed: %1>").arg(process.errorString());
    return QString::fromUtf8(process.readAllStandardOutput());
}

// A claim of one trip, 東京 to 神保町 on 2 November, as a PDF in the folder;
// empty when it was not written.
QString OneTripClaim(const QTemporaryDir& dir, const QString& visit, const QString& remarks,
                     const QString& name)
{
    EntryLines lines;
    auto line = std::make_unique<EntryInfo>(EntryInfo::ManualLine(0));
    line->dateTime = *LocalToTimestamp(2026, 11, 2, 0, 0, 0);
    line->entryStationName = QStringLiteral("東京");
    line->exitStationName = QStringLiteral("神保町");
    line->fare = 200;
    line->visitDestination = visit;
    line->remarks = remarks;
    lines.push_back(std::move(line));
    const QString pdf = dir.filePath("claim.pdf");
    QString error;
    if (!RenderClaimToPdf(DefaultLayout(), ClaimedLines(lines), {"総務部", "A-1024", name},
                          QDateTime(QDate(2026, 12, 1), QTime(9, 0)), {}, pdf, nullptr, &error))
        return {};
    return pdf;
}
} // namespace

TEST(PdfText, EveryDateNameAndAmountComesBack)
{
    ASSERT_TRUE(
        QFile::exists(QCoreApplication::applicationDirPath() + "/FenwirPrintSans-Regular.otf"))
        << "the print font is missing: run tools/setup.sh and build again";
    struct Line {
        int day;
        const char* from;
        const char* to;
        int fare;
        const char* visit;
        const char* remarks;
    };
    // Characters whose Kangxi radical or compatibility twin shares their glyph
    // (日 月 入 水 山 見 車 氏 金 長), and Latin digits after letters.
    const Line written[] = {
        {2, "日本橋", "月島", 170, "入船 本社", "A1234"},
        {9, "御茶ノ水", "山手", 1230, "見附 11/2", "車両 No.7"},
        {24, "氏家", "金沢", 12345, "長町", "往復 3,000"},
    };
    EntryLines lines;
    for (const Line& w : written) {
        auto line = std::make_unique<EntryInfo>(EntryInfo::ManualLine(0));
        line->dateTime = *LocalToTimestamp(2026, 11, w.day, 0, 0, 0);
        line->entryStationName = QString::fromUtf8(w.from);
        line->exitStationName = QString::fromUtf8(w.to);
        line->fare = w.fare;
        line->visitDestination = QString::fromUtf8(w.visit);
        line->remarks = QString::fromUtf8(w.remarks);
        lines.push_back(std::move(line));
    }
    QTemporaryDir dir;
    const QString pdf = dir.filePath("claim.pdf");
    QString error;
    ASSERT_TRUE(
        RenderClaimToPdf(DefaultLayout(), ClaimedLines(lines), {"総務部", "A-1024", "日野 月子"},
                         QDateTime(QDate(2026, 12, 1), QTime(9, 0)), {}, pdf, nullptr, &error))
        << error.toStdString();
    const QString text = LaidOutText(pdf);
    for (const Line& w : written) {
        for (const QString& expected :
             {QStringLiteral("11月%1日").arg(w.day), QString::fromUtf8(w.from),
              QString::fromUtf8(w.to), QString::fromUtf8(w.visit), QString::fromUtf8(w.remarks)})
            EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n"
                                                 << text.toStdString();
    }
    for (const char* amount :
         {"170", "1,230", "12,345", "13,745", "日野 月子", "A-1024", "令和8年12月1日"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(amount))) << amount << "\n"
                                                              << text.toStdString();
    EXPECT_FALSE(text.contains(QChar(0x2F47))) << "a Kangxi radical in place of 日";
}

// Characters beyond the BMP (𠮷 U+20BB7, 𩸽 U+29E3D) are drawn and come
// back from the text layer, in the claimant's name and in the table alike.
TEST(PdfText, CharactersBeyondTheBmpComeBack)
{
    const QString remarks =
        QString::fromUtf8("𩸽定食") + QChar(0xE170); // and a user-defined character
    QTemporaryDir dir;
    const QString pdf = OneTripClaim(dir, QString::fromUtf8("𠮷野家 神保町店"), remarks,
                                     QString::fromUtf8("髙橋 𠮷太郎"));
    ASSERT_FALSE(pdf.isEmpty());
    const QString text = LaidOutText(pdf);
    for (const char* expected : {"髙橋 𠮷太郎", "𠮷野家 神保町店", "𩸽定食〓"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                                << text.toStdString();
    EXPECT_TRUE(std::none_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() >= 0xE000 && c.unicode() <= 0xF8FF;
    })) << "a Private Use code left in the text";
}

// The print font holds Japanese office text only; a character beyond it (a
// Korean place name) is drawn with the system's fonts and keeps its text.
TEST(PdfText, CharactersOutsideThePrintFontComeFromTheSystemsFonts)
{
    const QString visit = QString::fromUtf8("서울 지사");
    const QRawFont printFont(
        QCoreApplication::applicationDirPath() + "/FenwirPrintSans-Regular.otf", 20);
    ASSERT_TRUE(printFont.isValid()) << "the print font is missing: run tools/setup.sh";
    ASSERT_FALSE(printFont.supportsCharacter(visit[0]));
    QTemporaryDir dir;
    const QString pdf = OneTripClaim(dir, visit, QString(), QStringLiteral("日野 月子"));
    ASSERT_FALSE(pdf.isEmpty());
    const QString text = LaidOutText(pdf);
    EXPECT_TRUE(text.contains(visit)) << text.toStdString();
    const QStringList fonts = PdfFonts(pdf);
    EXPECT_TRUE(std::any_of(fonts.begin(), fonts.end(), [](const QString& font) {
        return !font.startsWith(QLatin1String("FenwirPrintSans"));
    })) << fonts.join(' ').toStdString();
}
