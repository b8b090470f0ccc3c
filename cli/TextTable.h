#pragma once

#include <QList>
#include <QSet>
#include <QStringList>

// Rows of text aligned in columns for a terminal, wide characters counted
// as two columns.
class TextTable
{
public:
    // rightAligned: the columns (from 0) whose text ends at the column's edge.
    TextTable(QStringList header, QSet<qsizetype> rightAligned);

    void Add(QStringList row) { m_rows.append(std::move(row)); }
    QString Text() const;

private:
    QList<QStringList> m_rows;
    QSet<qsizetype> m_rightAligned;
};
