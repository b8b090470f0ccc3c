#pragma once

#include "EntryInfo.h"

#include <QList>
#include <QStringList>

// Expense lines as a plain-text table for a terminal, wide characters
// counted as two columns.
class LineTable
{
public:
    void Add(const EntryInfo& line);
    QString Text() const;

private:
    QList<QStringList> m_rows;
};
