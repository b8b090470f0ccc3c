#include "PdfExport.h"

#include "ClaimRules.h"
#include "DefaultLayout.h"
#include "LocalTime.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
int PdfPages(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = file.readAll();
    if (!pdf.startsWith("%PDF-"))
        return -1;
    return static_cast<int>(
        QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

EntryLines Claim(int count)
{
    EntryLines lines;
    for (int i = 0; i < count; ++i) {
        auto line = std::make_unique<EntryInfo>();
        line->applyFlag = 1;
        line->fare = 210;
        line->dateTime = *LocalToTimestamp(2026, 11, 1 + i % 30, 0, 0, 0);
        line->entryStationName = QStringLiteral("東京");
        line->exitStationName = QStringLiteral("新宿");
        lines.push_back(std::move(line));
    }
    return lines;
}
} // namespace

TEST(PdfExport, OnePagePerTwentyClaimedLines)
{
    QTemporaryDir dir;
    const QDateTime now(QDate(2026, 12, 9), QTime(10, 0));
    for (const auto& [count, pages] : {std::pair{45, 3}, std::pair{20, 1}, std::pair{0, 1}}) {
        const QString path = dir.filePath(QStringLiteral("claim%1.pdf").arg(count));
        int pageCount = 0;
        QString error;
        const EntryLines lines = Claim(count);
        ASSERT_TRUE(RenderClaimToPdf(DefaultLayout(), ClaimedLines(lines),
                                     {"総務部", "1024", "山田"}, now, {}, path, &pageCount, &error))
            << error.toStdString();
        EXPECT_EQ(pageCount, pages);
        EXPECT_EQ(PdfPages(path), pages);
    }
}

TEST(PdfExport, UnwritablePathNamesTheFile)
{
    QString error;
    const EntryLines lines = Claim(1);
    EXPECT_FALSE(RenderClaimToPdf(DefaultLayout(), ClaimedLines(lines), {},
                                  QDateTime::currentDateTime(), {}, "/nonexistent/folder/claim.pdf",
                                  nullptr, &error));
    EXPECT_TRUE(error.contains("/nonexistent/folder/claim.pdf"));
}
