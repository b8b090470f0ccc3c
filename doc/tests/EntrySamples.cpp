#include "EntrySamples.h"

#include <QFile>
#include <gtest/gtest.h>

EntryInfo SampleCardLine(int serial)
{
    EntryInfo line;
    line.hidden = 0;
    line.applyFlag = 1;
    line.idm = {0x01, 0x14, 0x02, 0x12, 0x3A, 0x4B, 0x5C, 0x6D};
    line.terminalType = 0x16;
    line.processType = 0x01;
    line.paymentType = 0x02;
    line.recordByte3 = 0x9C;
    line.dateTime = 1'793'545'200 + 86400 * serial;
    line.entryArea = 1;
    line.entryLine = 37;
    line.entryStation = 12;
    line.entryStationName = QStringLiteral("東京");
    line.entryLineName = QStringLiteral("山手線");
    line.entryCompanyName = QStringLiteral("ＪＲ東");
    line.entryLatitude = 35.681236;
    line.entryLongitude = 139.767125;
    line.exitArea = 1;
    line.exitLine = 300;
    line.exitStation = -5;
    line.exitStationName = QStringLiteral("新宿");
    line.exitLineName = QStringLiteral("中央線");
    line.exitCompanyName = QStringLiteral("ＪＲ東");
    line.exitLatitude = 35.690921;
    line.exitLongitude = 139.700258;
    line.balance = 4321;
    line.serialNumber = serial;
    line.regionByte = 0x45;
    line.fare = 200 + serial;
    line.distance = 6123;
    line.bearing = 277.25f;
    line.visitDestination = QStringLiteral("本社 %1").arg(serial);
    line.remarks = QStringLiteral("備考");
    return line;
}

EntryLines SampleLines(int count, int claimedEvery)
{
    EntryLines lines;
    for (int i = 0; i < count; ++i) {
        auto line = std::make_unique<EntryInfo>(SampleCardLine(i));
        line->applyFlag = i % claimedEvery == 0 ? 1 : 0;
        lines.push_back(std::move(line));
    }
    return lines;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}
