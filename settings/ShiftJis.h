#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Shift-JIS (Windows code page 932) is where texts leave the program as bytes
// or arrive as 8-bit text from older files.
// Characters the code page lacks but has a twin of (〜, ¥, −, ‖, ¢, £, ¬, ...)
// are written as that twin, as the platform's best-fit conversion does.
QByteArray EncodeShiftJis(const QString& text, bool* allEncoded = nullptr);
QString DecodeShiftJis(QByteArrayView bytes);
// Like EncodeShiftJis, but a character Shift-JIS cannot hold becomes "?";
// *replaced tells whether that happened.
QByteArray EncodeShiftJisReplacing(const QString& text, bool* replaced = nullptr);
