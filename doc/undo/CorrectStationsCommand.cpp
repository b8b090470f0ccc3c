#include "CorrectStationsCommand.h"

#include "CCorvaneDoc.h"
#include "StationCorrections.h"

CorrectStationsCommand::CorrectStationsCommand(CCorvaneDoc& doc, QString tablePath,
                                               std::vector<TableChange> table,
                                               std::vector<LineChange> lines)
    : QUndoCommand(QStringLiteral("駅名の訂正")), m_doc(doc), m_tablePath(std::move(tablePath)),
      m_table(std::move(table)), m_lines(std::move(lines))
{
}

void CorrectStationsCommand::Apply(bool forward)
{
    if (m_written)
        m_written = false;
    else if (!m_table.empty())
        WriteTable(forward);
    for (const LineChange& change : m_lines)
        m_doc.ReplaceAt(change.position, forward ? change.after : change.before);
}

void CorrectStationsCommand::WriteTable(bool forward)
{
    // Read anew under the lock: another program may change other codes.
    StationCorrections corrections(m_tablePath);
    QString problem;
    QString error;
    const bool written = corrections.Update(
        [&](StationCorrections& current) {
            for (const TableChange& change : m_table)
                current.Set(change.code, forward ? change.after : change.before);
            return true;
        },
        &problem, &error);
    if (!problem.isEmpty())
        Q_EMIT m_doc.CorrectionsProblem(problem);
    if (!written)
        Q_EMIT m_doc.CorrectionsProblem(error);
}
