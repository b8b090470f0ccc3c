// Claims as an approver gets them: golden PDFs of the program's own layout,
// read back as text (what a search of the archive finds) and as a picture
// of a page (what the eye sees). FENWIR_UPDATE_GOLDEN=1 writes the golden
// files anew instead of comparing; look at them before committing.
#include "ClaimPeriod.h"
#include "ClaimRules.h"
#include "DefaultLayout.h"
#include "LocalTime.h"
#include "PdfExport.h"
#include "PdfText.h"
#include "TextFormat.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
const QString kData = QStringLiteral(FENWIR_PRINT_TEST_DATA);
const QDateTime kPrinted(QDate(2026, 12, 1), QTime(9, 0));

struct Trip {
    int year, month, day;
    const char* from;
    const char* to;
    const char* line;
    int fare;
    const char* visit;
    const char* remarks;
};

struct Claim {
    const char* name;
    std::array<QString, 3> claimant;
    ClaimFilter period;
    std::vector<Trip> trips;
    int page; // the page compared as a picture
};

EntryLines LinesOf(const std::vector<Trip>& trips)
{
    EntryLines lines;
    for (const Trip& trip : trips) {
        auto line = std::make_unique<EntryInfo>(
            EntryInfo::ManualLine(*LocalToTimestamp(trip.year, trip.month, trip.day, 8, 30, 0)));
        line->entryStationName = QString::fromUtf8(trip.from);
        line->exitStationName = QString::fromUtf8(trip.to);
        line->entryLineName = QString::fromUtf8(trip.line);
        line->fare = trip.fare;
        line->visitDestination = QString::fromUtf8(trip.visit);
        line->remarks = QString::fromUtf8(trip.remarks);
        line->applyFlag = 1;
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<Trip> ThreePages()
{
    const char* visits[] = {"株式会社みどり商事 神保町営業所", "𠮷野家 神保町店", "",
                            "東京都千代田区神田神保町二丁目 株式会社みどり商事 第二営業部 打合せ室",
                            "本社"};
    const char* remarks[] = {"新規案件の打合せ（見積書持参）", "", "", "往復", ""};
    std::vector<Trip> trips;
    for (int i = 0; i < 45; ++i)
        trips.push_back({2026, 11, 1 + i % 30, "東京", i % 3 ? "神保町" : "西早稲田", "都営新宿線",
                         170 + 10 * (i % 7), visits[i % 5], remarks[i % 4]});
    return trips;
}

std::vector<Claim> Claims()
{
    return {
        {"month",
         {"営業部", "A-1024", "山田 花子"},
         ClaimPeriod::Month(2026, 11),
         {{2026, 11, 4, "日本橋", "月島", "東西線", 210, "月島物産 本社", ""},
          {2026, 11, 4, "月島", "日本橋", "東西線", 210, "", "帰社"},
          {2026, 11, 12, "新宿", "横浜", "湘南新宿ライン", 660, "横浜港湾倉庫 第三埠頭",
           "搬入立会い"},
          {2026, 11, 12, "横浜", "新宿", "湘南新宿ライン", 660, "", ""},
          {2026, 11, 27, "東京", "大宮", "京浜東北線", 580, "さいたま支店", "月例会議"}},
         1},
        {"years",
         {"総務部", "B-0077", "佐藤 一郎"},
         {},
         {{2025, 12, 24, "渋谷", "品川", "山手線", 200, "品川事業所", "年末点検"},
          {2025, 12, 26, "品川", "渋谷", "山手線", 200, "", ""},
          {2026, 1, 6, "渋谷", "池袋", "副都心線", 200, "池袋営業所", "年始挨拶"},
          {2026, 1, 15, "池袋", "渋谷", "副都心線", 200, "", ""}},
         1},
        {"pages",
         {"開発部", "C-3141", "髙橋 𠮷太郎"},
         ClaimPeriod::Month(2026, 11),
         ThreePages(),
         3},
    };
}

QString Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>").arg(program, process.errorString());
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString PageText(const QString& pdf, int page)
{
    return Run(QStringLiteral("pdftotext"),
               {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
                QStringLiteral("-l"), QString::number(page), pdf, QStringLiteral("-")});
}

// The page in grey at 50 dpi: enough to see every rule, cell and line of
// text in its place, small enough to keep beside the tests.
QImage PagePicture(const QString& pdf, int page, const QString& dir)
{
    const QString stem = dir + QStringLiteral("/page");
    Run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-gray"),
         QStringLiteral("-png"), QStringLiteral("-singlefile"), QStringLiteral("-f"),
         QString::number(page), QStringLiteral("-l"), QString::number(page), pdf, stem});
    return QImage(stem + QStringLiteral(".png")).convertToFormat(QImage::Format_Grayscale8);
}

// How far two pictures of a page differ: the share of pixels whose grey
// differs by more than a quarter, so that a shifted rule or a changed word
// counts and the smoothing of edges does not.
double Difference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.isNull())
        return 1.0;
    long long differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        const uchar* p = a.constScanLine(y);
        const uchar* q = b.constScanLine(y);
        for (int x = 0; x < a.width(); ++x)
            differing += std::abs(int(p[x]) - int(q[x])) > 64;
    }
    return static_cast<double>(differing) / (static_cast<double>(a.width()) * a.height());
}

// The first line where the text differs from the golden one, readable.
std::string FirstDifference(const QString& text, const QString& golden)
{
    const QStringList got = text.split(QLatin1Char('\n'));
    const QStringList want = golden.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < std::max(got.size(), want.size()); ++i)
        if (got.value(i) != want.value(i))
            return QStringLiteral("line %1:\n  printed: %2\n  golden:  %3")
                .arg(i + 1)
                .arg(got.value(i), want.value(i))
                .toStdString();
    return {};
}

bool Updating()
{
    return qEnvironmentVariableIntValue("FENWIR_UPDATE_GOLDEN") != 0;
}

QString Amount(std::int64_t amount)
{
    return FormatAmount(amount).trimmed();
}
} // namespace

class ClaimGolden : public ::testing::TestWithParam<std::size_t>
{
};

TEST_P(ClaimGolden, TextLayerSumsAndPicture)
{
    ASSERT_TRUE(
        QFile::exists(QCoreApplication::applicationDirPath() + "/FenwirPrintSans-Regular.otf"))
        << "the print font is missing: run tools/setup.sh and build again";
    const Claim claim = Claims()[GetParam()];
    SCOPED_TRACE(claim.name);
    const EntryLines lines = LinesOf(claim.trips);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("claim.pdf");
    int pages = 0;
    QString error;
    ASSERT_TRUE(RenderClaimToPdf(DefaultLayout(), ClaimedLines(lines), claim.claimant, kPrinted,
                                 claim.period, pdf, &pages, &error))
        << error.toStdString();

    // The form's texts, its headings included, are all the print font's.
    QStringList fonts = PdfFonts(pdf);
    fonts.sort();
    EXPECT_EQ(fonts, QStringList({"FenwirPrintSans-Bold", "FenwirPrintSans-Regular"}));

    QString text;
    std::int64_t total = 0;
    for (int page = 1; page <= pages; ++page) {
        const QString pageText = PageText(pdf, page);
        text += pageText + QLatin1Char('\f');
        // Each page's subtotal is the sum of its 20 lines; the last page
        // carries the total of all of them, in the table and below it.
        std::int64_t onPage = 0;
        for (std::size_t i = (page - 1) * 20; i < std::min<std::size_t>(page * 20, lines.size());
             ++i)
            onPage += lines[i]->fare;
        total += onPage;
        const bool several = pages > 1;
        EXPECT_EQ(pageText.contains(
                      QRegularExpression(QStringLiteral("小計\\s+%1\\n").arg(Amount(onPage)))),
                  several)
            << page << "\n"
            << pageText.toStdString();
        const bool last = page == pages;
        EXPECT_EQ(pageText.contains(
                      QRegularExpression(QStringLiteral("合計\\s+%1\\n").arg(Amount(total)))),
                  last)
            << page << "\n"
            << pageText.toStdString();
        EXPECT_EQ(pageText.contains(
                      QRegularExpression(QStringLiteral("合計金額\\s+￥%1－").arg(Amount(total)))),
                  last)
            << page << "\n"
            << pageText.toStdString();
    }
    EXPECT_EQ(total, ClaimedTotal(ClaimedLines(lines)));

    const QString textFile = kData + QStringLiteral("/claim-%1.txt").arg(claim.name);
    const QString pictureFile =
        kData + QStringLiteral("/claim-%1-p%2.png").arg(claim.name).arg(claim.page);
    const QImage picture = PagePicture(pdf, claim.page, dir.path());
    ASSERT_FALSE(picture.isNull());
    if (Updating()) {
        QFile out(textFile);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(text.toUtf8());
        ASSERT_TRUE(picture.save(pictureFile));
        return;
    }
    QFile golden(textFile);
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly)) << textFile.toStdString();
    const QString expected = QString::fromUtf8(golden.readAll());
    EXPECT_TRUE(text == expected)
        << FirstDifference(text, expected)
        << "\nthe text layer changed; with FENWIR_UPDATE_GOLDEN=1 it is written anew";
    const QImage goldenPicture = QImage(pictureFile).convertToFormat(QImage::Format_Grayscale8);
    // A rule 2 cm long is some 40 pixels here: 0.02 % of the page.
    EXPECT_LT(Difference(picture, goldenPicture), 0.0002)
        << "page " << claim.page << " looks different from " << pictureFile.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Claims, ClaimGolden, ::testing::Values(0, 1, 2),
                         [](const auto& info) { return std::string(Claims()[info.param].name); });
