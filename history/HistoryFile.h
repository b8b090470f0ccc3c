#pragma once

#include "HistoryContents.h"

#include <QByteArray>
#include <QString>

// The format of "Apply.hst": the marker, the count and the records (time,
// amount, snapshot path), which every version reads; then sections of their
// own, each a marker and its entries, which earlier versions pass by. The
// cancellations come first, right after the records, where earlier versions
// look for them; then the print jobs; then each record's number, print
// time, user, computer, fingerprint and paper; then why and by whom
// cancellations were made. A history without records is an empty file, and
// one without any section is byte for byte what the first versions write.
class HistoryFile
{
public:
    struct Reading {
        // What could be read: every record before the damage, and each one
        // after it whose delimiters are intact.
        HistoryContents contents;
        bool damaged = false;
    };

    // Never throws: a damaged or foreign file is read as far as it can be.
    static Reading Read(const QByteArray& bytes);
    static QByteArray Serialize(const HistoryContents& contents);
    // Gives each record without a number one: records of earlier versions
    // by their place (the first is A00001), later ones after the highest.
    static void Number(std::vector<ApplyRecord>& records);
    // The number the next record gets.
    static QString NextId(const std::vector<ApplyRecord>& records);

    static const QString kMarker;
    static const QString kCancelMarker;
    static const QString kPrintJobMarker;
    static const QString kDetailsMarker;
    static const QString kCancelReasonMarker;
};
