#pragma once

#include "HistoryContents.h"

#include <QByteArray>
#include <QString>

// The format of "Apply.hst": the marker, the count and the records (time,
// amount, snapshot path), which every version reads; then sections of their
// own, each a marker and its entries, which earlier versions pass by. The
// cancellations come first, right after the records, where earlier versions
// look for them; then the print jobs. A history without records is an empty
// file, and one without cancellations or jobs is byte for byte what the
// first versions write.
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

    static const QString kMarker;
    static const QString kCancelMarker;
    static const QString kPrintJobMarker;
};
