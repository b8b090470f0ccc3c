#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>

// Amounts as the lists, the status bar and the printed claim show them:
// "%6d" below 1000, else "%2d,%03d" (only the last three digits grouped).
// A negative amount keeps the grouping behind its minus sign ("-1,234").
QString FormatAmount(std::int64_t amount);

// An amount grouped by thousands throughout, for running text: 1,234,567.
QString FormatYen(std::int64_t amount);

// prefix + local time as yymmdd-HHMMSS + suffix, e.g. Entry240501-090307.ent.
QString MakeTimestampName(const QString& prefix, const QString& suffix,
                          const QDateTime& now = QDateTime::currentDateTime());

// The text as Shift-JIS bytes for a web address: letters and digits as they
// are, the space as "+", every other byte as %XX.
QString UrlEncodeShiftJis(const QString& text);
