#pragma once

#include "EntryInfo.h"

#include <QString>
#include <QUrl>

// The error report about a line's station codes, as a mail for the user's
// mail program: subject "誤り報告", a body with the codes and the names.
// Every text is percent-encoded, so no name can cut or bend the address.
namespace ErrorReportMail
{
// "コード：1601 00250A 002514 04B0 004D"
QString CodeLine(const EntryInfo& line);
// The whole body, lines ending in CR LF.
QString Body(const EntryInfo& line, const QString& terminalText, const QString& processText);
// mailto:<recipient>?subject=...&body=...; an empty recipient lets the mail
// program ask for one.
QUrl Address(const QString& recipient, const EntryInfo& line, const QString& terminalText,
             const QString& processText);
} // namespace ErrorReportMail
