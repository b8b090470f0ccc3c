#include "ErrorReportMail.h"

namespace
{
unsigned Hex(std::int64_t value)
{
    return static_cast<unsigned>(value);
}
} // namespace

QString ErrorReportMail::CodeLine(const EntryInfo& l)
{
    return QStringLiteral("コード：") +
           QString::asprintf("%02X%02X %02X%02X%02X %02X%02X%02X %04X %04X", Hex(l.terminalType),
                             Hex(l.processType), Hex(l.entryArea), Hex(l.entryLine),
                             Hex(l.entryStation), Hex(l.exitArea), Hex(l.exitLine),
                             Hex(l.exitStation), Hex(l.balance), Hex(l.serialNumber));
}

QString ErrorReportMail::Body(const EntryInfo& l, const QString& terminalText,
                              const QString& processText)
{
    const QString crlf = QStringLiteral("\r\n");
    return CodeLine(l) + crlf + crlf + QStringLiteral("端末：") + terminalText + crlf +
           QStringLiteral("処理：") + processText + crlf + crlf + QStringLiteral("入場会社名：") +
           l.entryCompanyName + crlf + QStringLiteral("入場路線名：") + l.entryLineName + crlf +
           QStringLiteral("　入場駅名：") + l.entryStationName + crlf + crlf +
           QStringLiteral("出場会社名：") + l.exitCompanyName + crlf +
           QStringLiteral("出場路線名：") + l.exitLineName + crlf + QStringLiteral("　出場駅名：") +
           l.exitStationName + crlf;
}

QUrl ErrorReportMail::Address(const QString& recipient, const EntryInfo& line,
                              const QString& terminalText, const QString& processText)
{
    const QByteArray encoded =
        "mailto:" + QUrl::toPercentEncoding(recipient, "@") +
        "?subject=" + QUrl::toPercentEncoding(QStringLiteral("誤り報告")) +
        "&body=" + QUrl::toPercentEncoding(Body(line, terminalText, processText));
    return QUrl::fromEncoded(encoded, QUrl::StrictMode);
}
