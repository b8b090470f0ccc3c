#include "LineJson.h"

#include "CardReader.h"

QJsonObject LineToJson(const EntryInfo& line)
{
    return QJsonObject{
        {QStringLiteral("hidden"), line.hidden},
        {QStringLiteral("applyFlag"), line.applyFlag},
        {QStringLiteral("idm"), FormatIdm(line.idm)},
        {QStringLiteral("terminalType"), line.terminalType},
        {QStringLiteral("processType"), line.processType},
        {QStringLiteral("paymentType"), line.paymentType},
        {QStringLiteral("recordByte3"), line.recordByte3},
        {QStringLiteral("dateTime"), static_cast<qint64>(line.dateTime)},
        {QStringLiteral("entryArea"), line.entryArea},
        {QStringLiteral("entryLine"), line.entryLine},
        {QStringLiteral("entryStation"), line.entryStation},
        {QStringLiteral("entryStationName"), line.entryStationName},
        {QStringLiteral("entryLineName"), line.entryLineName},
        {QStringLiteral("entryCompanyName"), line.entryCompanyName},
        {QStringLiteral("entryLatitude"), line.entryLatitude},
        {QStringLiteral("entryLongitude"), line.entryLongitude},
        {QStringLiteral("exitArea"), line.exitArea},
        {QStringLiteral("exitLine"), line.exitLine},
        {QStringLiteral("exitStation"), line.exitStation},
        {QStringLiteral("exitStationName"), line.exitStationName},
        {QStringLiteral("exitLineName"), line.exitLineName},
        {QStringLiteral("exitCompanyName"), line.exitCompanyName},
        {QStringLiteral("exitLatitude"), line.exitLatitude},
        {QStringLiteral("exitLongitude"), line.exitLongitude},
        {QStringLiteral("balance"), line.balance},
        {QStringLiteral("serialNumber"), line.serialNumber},
        {QStringLiteral("regionByte"), line.regionByte},
        {QStringLiteral("fare"), line.fareUnknown ? QJsonValue() : QJsonValue(line.fare)},
        {QStringLiteral("distance"), line.distance},
        {QStringLiteral("bearing"), static_cast<double>(line.bearing)},
        {QStringLiteral("visitDestination"), line.visitDestination},
        {QStringLiteral("visitSuggested"), line.visitSuggested},
        {QStringLiteral("remarks"), line.remarks},
    };
}

QJsonArray LinesToJson(const std::vector<const EntryInfo*>& lines,
                       const std::function<bool(const EntryInfo&)>& applied)
{
    QJsonArray array;
    for (const EntryInfo* line : lines) {
        QJsonObject object = LineToJson(*line);
        if (applied)
            object.insert(QStringLiteral("applied"), applied(*line));
        array.append(object);
    }
    return array;
}
