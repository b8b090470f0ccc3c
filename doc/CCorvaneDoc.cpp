#include "CCorvaneDoc.h"

#include "AppSettings.h"
#include "ArchiveError.h"
#include "ArchiveReader.h"
#include "ArchiveWriter.h"
#include "CardIdentity.h"
#include "ClaimRules.h"
#include "FileWriter.h"
#include "Folders.h"
#include "LocalTime.h"
#include "StationCorrections.h"
#include "TextFormat.h"
#include "undo/ConfirmVisitsCommand.h"
#include "undo/CorrectStationsCommand.h"
#include "undo/EditLineCommand.h"
#include "undo/LinesCommand.h"
#include "undo/MarkLinesCommand.h"
#include "undo/ReorderLinesCommand.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <limits>
#include <unordered_map>

namespace
{
// A stored mark the apply rule does not allow is dropped as the claim is read.
void DropForbiddenMarks(EntryLines& lines)
{
    for (auto& line : lines)
        if (line->applyFlag == 1 && !CanApply(*line))
            line->applyFlag = 0;
}

// Whether an edit of a claimed line changes only what may change after the
// claim: the visit destination, the remarks and the mark.
bool KeepsClaimedContent(const EntryInfo& claimed, const EntryInfo& edited)
{
    EntryInfo allowed = claimed;
    allowed.visitDestination = edited.visitDestination;
    allowed.visitSuggested = edited.visitSuggested;
    allowed.remarks = edited.remarks;
    allowed.applyFlag = edited.applyFlag;
    return allowed == edited;
}

// Runs of consecutive positions, ascending: [first, last] pairs.
template <typename Positions>
std::vector<std::pair<std::size_t, std::size_t>> Runs(const Positions& positions)
{
    std::vector<std::pair<std::size_t, std::size_t>> runs;
    for (const std::size_t position : positions) {
        if (!runs.empty() && runs.back().second + 1 == position)
            runs.back().second = position;
        else
            runs.emplace_back(position, position);
    }
    return runs;
}
} // namespace

CCorvaneDoc::CCorvaneDoc(AppSettings& settings, QObject* parent)
    : QObject(parent), m_settings(settings)
{
    connect(&m_undo, &QUndoStack::cleanChanged, this,
            [this](bool clean) { Q_EMIT ModifiedChanged(!clean); });
}

CCorvaneDoc::~CCorvaneDoc()
{
    // The commands go first: they may hold lines, and nobody is to hear of it.
    m_undo.disconnect(this);
    m_undo.clear();
}

QString CCorvaneDoc::Title() const
{
    return m_path.isEmpty() ? QStringLiteral("無題") : QFileInfo(m_path).fileName();
}

ApplyHistory& CCorvaneDoc::History()
{
    RefreshHistory();
    return m_history;
}

AppliedLines& CCorvaneDoc::Applied()
{
    // Read when first asked: the snapshots matter only to a claim with lines.
    if (!m_appliedLoaded) {
        m_applied.Load(History().Records(), [this](const ApplyRecord& record) {
            return m_history.SnapshotFile(record);
        });
        m_appliedLoaded = true;
    }
    return m_applied;
}

std::optional<QDate> CCorvaneDoc::AppliedOn(const EntryInfo& line)
{
    return Applied().AppliedOn(line);
}

AppliedLines::Claimed CCorvaneDoc::ClaimedBefore(const std::vector<const EntryInfo*>& lines)
{
    RefreshHistory();
    AppliedLines::Claimed claimed;
    for (const EntryInfo* line : lines) {
        if (const auto day = Applied().AppliedOn(*line)) {
            ++claimed.lines;
            if (std::find(claimed.days.begin(), claimed.days.end(), *day) == claimed.days.end())
                claimed.days.push_back(*day);
        }
    }
    std::sort(claimed.days.begin(), claimed.days.end());
    return claimed;
}

std::vector<AppliedLines::Application> CCorvaneDoc::Applications()
{
    RefreshHistory();
    return Applied().Applications();
}

void CCorvaneDoc::Reset(EntryList data, const QString& path)
{
    Q_EMIT LinesAboutToBeReset();
    m_undo.clear();
    m_data = std::move(data);
    DropForbiddenMarks(m_data.lines);
    m_path = path;
    Q_EMIT LinesReset();
    // A new history starts clean: the claim stands as made or as read.
    m_undo.setClean();
    Q_EMIT ModifiedChanged(false);
    Q_EMIT FileChanged();
    Q_EMIT CardChanged();
}

bool CCorvaneDoc::NewDocument()
{
    Reset(EntryList(), QString());
    if (m_layout.IsEmpty()) {
        m_layout.Load(m_settings.FormatFilePath);
        RefreshHistory();
    }
    return true;
}

void CCorvaneDoc::ReplaceLines(EntryLines lines)
{
    EntryList data;
    data.lines = std::move(lines);
    Reset(std::move(data), QString());
}

void CCorvaneDoc::HistoryChanged()
{
    m_appliedLoaded = false;
    Q_EMIT AppliedChanged();
}

void CCorvaneDoc::RefreshHistory()
{
    if (m_history.Refresh())
        HistoryChanged();
    const QString& problem = m_history.Problem();
    if (problem == m_historyProblem)
        return;
    m_historyProblem = problem;
    if (!problem.isEmpty())
        Q_EMIT HistoryProblemFound(problem);
}

QString CCorvaneDoc::HistoryProblem()
{
    RefreshHistory();
    return m_history.Problem();
}

QString CCorvaneDoc::WhyNotRecordable()
{
    RefreshHistory();
    return m_history.WhyNoChange();
}

bool CCorvaneDoc::Load(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("ファイル %1 を開けませんでした。(%2)")
                         .arg(path, file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    EntryList data;
    try {
        ArchiveReader in(bytes);
        data.Read(in);
    } catch (const ArchiveError&) {
        // The open claim stays as it was: a file that is no claim replaces nothing.
        if (error)
            *error = UnexpectedFormatMessage();
        return false;
    }
    Reset(std::move(data), path);
    return true;
}

bool CCorvaneDoc::CancelApplication(const AppliedLines::Application& application,
                                    const QString& reason, QString* error)
{
    const bool cancelled = m_history.Cancel(application.record, application.snapshotPath,
                                            CurrentTimestamp(), reason, error);
    // Whatever came of it, the history was read anew under its lock.
    HistoryChanged();
    RefreshHistory();
    return cancelled;
}

bool CCorvaneDoc::RepairHistory(QString* report)
{
    const bool repaired = m_history.Repair(report);
    HistoryChanged();
    RefreshHistory();
    return repaired;
}

bool CCorvaneDoc::IsSnapshotPath(const QString& path)
{
    const QString target = QFileInfo(path).absoluteFilePath();
    if (IsRecordedApplication() && !m_path.isEmpty() &&
        QFileInfo(m_path).absoluteFilePath() == target)
        return true;
    const auto& records = History().Records();
    // A snapshot found beside the history, its folder moved, is one too.
    return std::any_of(records.begin(), records.end(), [&](const ApplyRecord& record) {
        return QFileInfo(record.snapshotPath).absoluteFilePath() == target ||
               QFileInfo(m_history.SnapshotFile(record)).absoluteFilePath() == target;
    });
}

bool CCorvaneDoc::Save(const QString& path, QString* error)
{
    if (IsSnapshotPath(path)) {
        if (error)
            *error = SnapshotProtectedMessage();
        return false;
    }
    ArchiveWriter out;
    try {
        m_data.Write(out, EntryList::Document);
    } catch (const ArchiveError&) {
        if (error)
            *error = SaveFailedMessage();
        return false;
    }
    if (!FileWriter::WriteAtomically(path, out.Data(), error))
        return false;
    m_path = path;
    m_data.kind = EntryList::Document;
    m_undo.setClean();
    Q_EMIT FileChanged();
    return true;
}

bool CCorvaneDoc::RecordApplication(const std::vector<const EntryInfo*>& printed, QString* error,
                                    ApplyRecord stamp)
{
    const std::int64_t total = ClaimedTotal(printed);
    const auto amount = static_cast<std::int32_t>(std::clamp<std::int64_t>(
        total, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
    ArchiveWriter out;
    try {
        m_data.WriteSnapshot(out, printed);
    } catch (const ArchiveError&) {
        if (error)
            *error = QStringLiteral("印刷した明細を申請の控えに書けませんでした。");
        return false;
    }
    const std::vector<ApplyRecord> before = m_history.Records();
    ApplyRecord record = std::move(stamp);
    record.documentTime = m_data.documentTime;
    record.amount = amount;
    record.lineCount = static_cast<std::int32_t>(printed.size());
    const bool recorded = m_history.Record(out.Data(), record, error);
    if (recorded)
        m_lastRecordedId = record.id;
    // The record joins what this program knew, unless the step found the
    // history changed by another program: then all is read again.
    const auto& after = m_history.Records();
    if (recorded && m_appliedLoaded && after.size() == before.size() + 1 &&
        std::equal(before.begin(), before.end(), after.begin()))
        m_applied.Add(after.size() - 1, record, printed,
                      AppliedLines::PrintedAt(record.snapshotPath));
    else
        HistoryChanged();
    RefreshHistory();
    return recorded;
}

std::vector<std::size_t> CCorvaneDoc::PositionsOf(const std::vector<const EntryInfo*>& lines) const
{
    std::unordered_map<const EntryInfo*, std::size_t> position;
    position.reserve(m_data.lines.size());
    for (std::size_t i = 0; i < m_data.lines.size(); ++i)
        position.emplace(m_data.lines[i].get(), i);
    std::vector<std::size_t> positions;
    for (const EntryInfo* line : lines)
        if (const auto at = position.find(line); at != position.end())
            positions.push_back(at->second);
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    return positions;
}

bool CCorvaneDoc::SetMarks(const std::vector<std::pair<std::size_t, bool>>& marks,
                           const QString& text)
{
    std::vector<MarkLinesCommand::Mark> changes;
    for (const auto& [position, marked] : marks) {
        if (position >= m_data.lines.size())
            continue;
        const EntryInfo& line = *m_data.lines[position];
        const std::uint8_t mark = marked ? 1 : 0;
        if (line.applyFlag == mark || (marked && !CanApply(line)))
            continue;
        changes.push_back({position, line.applyFlag, mark});
    }
    if (changes.empty())
        return false;
    Push(new MarkLinesCommand(*this, text, std::move(changes)));
    return true;
}

bool CCorvaneDoc::ClearMarks(const std::vector<const EntryInfo*>& lines, const QString& text)
{
    std::vector<std::pair<std::size_t, bool>> marks;
    for (const std::size_t position : PositionsOf(lines))
        marks.emplace_back(position, false);
    return SetMarks(marks, text);
}

bool CCorvaneDoc::EditLine(std::size_t position, const EntryInfo& content)
{
    if (position >= m_data.lines.size() || *m_data.lines[position] == content)
        return false;
    const EntryInfo& before = *m_data.lines[position];
    EntryInfo after = content;
    // Whatever path an edit takes, a claimed trip stays what was claimed, and
    // it is ticked again only through SetMarks, which the list asks about.
    RefreshHistory();
    if (AppliedOn(before)) {
        if (!KeepsClaimedContent(before, content))
            return false;
        after.applyFlag = before.applyFlag;
        if (after == before)
            return false;
    }
    if (after.applyFlag == 1 && !CanApply(after))
        after.applyFlag = 0;
    Push(new EditLineCommand(*this, position, *m_data.lines[position], std::move(after)));
    return true;
}

bool CCorvaneDoc::CorrectStations(const std::vector<StationCorrection>& corrections)
{
    const QString path = StationCorrections::DefaultPath();
    StationCorrections table(path);
    QString problem;
    QString error;
    std::vector<CorrectStationsCommand::TableChange> changes;
    // Read and written as one step: another program's corrections stay.
    const bool written = table.Update(
        [&](StationCorrections& current) {
            changes.clear();
            for (const StationCorrection& correction : corrections) {
                const std::optional<StationNames> before = current.Get(correction.code);
                if (before != correction.names)
                    changes.push_back({correction.code, before, correction.names});
                current.Set(correction.code, correction.names);
            }
            return !changes.empty();
        },
        &problem, &error);
    if (!problem.isEmpty())
        Q_EMIT CorrectionsProblem(problem);
    if (!written) {
        Q_EMIT CorrectionsProblem(error);
        return false;
    }
    std::vector<CorrectStationsCommand::LineChange> lines;
    for (std::size_t position = 0; position < m_data.lines.size(); ++position) {
        const EntryInfo& line = *m_data.lines[position];
        EntryInfo after = Corrected(line, corrections);
        if (after != line)
            lines.push_back({position, line, std::move(after)});
    }
    if (changes.empty() && lines.empty())
        return false;
    Push(new CorrectStationsCommand(*this, path, std::move(changes), std::move(lines)));
    return true;
}

void CCorvaneDoc::InsertLine(std::size_t position, std::unique_ptr<EntryInfo> line)
{
    if (line->applyFlag == 1 && !CanApply(*line))
        line->applyFlag = 0;
    std::vector<PlacedLine> lines;
    lines.push_back({std::min(position, m_data.lines.size()), std::move(line)});
    Push(new LinesCommand(*this, QStringLiteral("項目追加"), std::move(lines)));
}

void CCorvaneDoc::RemoveLines(std::vector<std::size_t> positions)
{
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    positions.erase(std::remove_if(positions.begin(), positions.end(),
                                   [this](std::size_t p) { return p >= m_data.lines.size(); }),
                    positions.end());
    if (positions.empty())
        return;
    Push(new LinesCommand(*this, QStringLiteral("項目削除"), positions));
}

bool CCorvaneDoc::ConfirmVisits(const std::vector<std::size_t>& positions)
{
    std::vector<std::size_t> suggested;
    for (const std::size_t position : positions)
        if (position < m_data.lines.size() && m_data.lines[position]->visitSuggested)
            suggested.push_back(position);
    std::sort(suggested.begin(), suggested.end());
    suggested.erase(std::unique(suggested.begin(), suggested.end()), suggested.end());
    if (suggested.empty())
        return false;
    Push(new ConfirmVisitsCommand(*this, std::move(suggested)));
    return true;
}

bool CCorvaneDoc::Reorder(std::vector<std::size_t> order, const QString& text)
{
    if (order.size() != m_data.lines.size())
        return false;
    bool moved = false;
    for (std::size_t i = 0; i < order.size() && !moved; ++i)
        moved = order[i] != i;
    if (!moved)
        return false;
    Push(new ReorderLinesCommand(*this, text, std::move(order)));
    return true;
}

void CCorvaneDoc::AppendLines(EntryLines lines, const QString& text,
                              std::vector<std::pair<std::size_t, EntryInfo>> completed)
{
    std::erase_if(completed, [this](const auto& change) {
        return change.first >= m_data.lines.size() || *m_data.lines[change.first] == change.second;
    });
    if (lines.empty() && completed.empty())
        return;
    auto* step = new QUndoCommand(text);
    for (auto& [position, content] : completed)
        new EditLineCommand(*this, position, *m_data.lines[position], std::move(content), step);
    if (!lines.empty()) {
        std::vector<PlacedLine> placed;
        std::size_t position = m_data.lines.size();
        for (auto& line : lines)
            placed.push_back({position++, std::move(line)});
        new LinesCommand(*this, text, std::move(placed), step);
    }
    Push(step);
}

void CCorvaneDoc::SetLastCard(const CardInfo& card, std::vector<CardHistoryRow> rows)
{
    m_data.card = card;
    m_data.historyRows = std::move(rows);
    Q_EMIT CardChanged();
}

void CCorvaneDoc::LinkCardIds(const std::vector<CardId>& ids)
{
    QStringList hex;
    for (const CardId& id : ids)
        hex << CardIdHex(id);
    if (m_data.cardIds.Link(hex))
        Q_EMIT CardsLinked();
}

CardIdGroups CCorvaneDoc::CardGroups() const
{
    CardIdGroups groups = m_data.cardIds;
    groups.Merge(m_settings.CardGroups());
    return groups;
}

void CCorvaneDoc::Push(QUndoCommand* command)
{
    // A recorded application stays as it was printed: the first change
    // makes it a new claim of its own, untitled and unsaved.
    if (IsRecordedApplication()) {
        m_path.clear();
        m_data.kind = EntryList::Document;
        m_undo.push(command);
        m_undo.resetClean();
        Q_EMIT FileChanged();
        Q_EMIT LeftRecord();
        return;
    }
    m_undo.push(command);
}

void CCorvaneDoc::InsertAt(std::vector<PlacedLine> lines)
{
    std::sort(lines.begin(), lines.end(),
              [](const PlacedLine& a, const PlacedLine& b) { return a.position < b.position; });
    std::vector<std::size_t> positions;
    for (const PlacedLine& placed : lines)
        positions.push_back(placed.position);
    std::size_t next = 0;
    for (const auto& [first, last] : Runs(positions)) {
        Q_EMIT LinesAboutToBeInserted(static_cast<int>(first), static_cast<int>(last));
        EntryLines run;
        for (std::size_t i = first; i <= last; ++i)
            run.push_back(std::move(lines[next++].line));
        m_data.lines.insert(m_data.lines.begin() + static_cast<std::ptrdiff_t>(first),
                            std::make_move_iterator(run.begin()),
                            std::make_move_iterator(run.end()));
        Q_EMIT LinesInserted(static_cast<int>(first), static_cast<int>(last));
    }
    Q_EMIT LinesEdited();
}

std::vector<PlacedLine> CCorvaneDoc::TakeAt(const std::vector<std::size_t>& positions)
{
    std::vector<PlacedLine> taken;
    const auto runs = Runs(positions);
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        const auto [first, last] = *run;
        Q_EMIT LinesAboutToBeRemoved(static_cast<int>(first), static_cast<int>(last));
        for (std::size_t i = last + 1; i-- > first;)
            taken.push_back({i, std::move(m_data.lines[i])});
        m_data.lines.erase(m_data.lines.begin() + static_cast<std::ptrdiff_t>(first),
                           m_data.lines.begin() + static_cast<std::ptrdiff_t>(last + 1));
        Q_EMIT LinesRemoved(static_cast<int>(first), static_cast<int>(last));
    }
    std::reverse(taken.begin(), taken.end());
    Q_EMIT LinesEdited();
    return taken;
}

void CCorvaneDoc::SetMarksAt(const std::vector<std::pair<std::size_t, std::uint8_t>>& marks)
{
    std::vector<std::size_t> positions;
    for (const auto& mark : marks)
        positions.push_back(mark.first);
    const auto runs = Runs(positions);
    for (const auto& [first, last] : runs)
        Q_EMIT LinesAboutToBeChanged(static_cast<int>(first), static_cast<int>(last));
    for (const auto& [position, mark] : marks)
        m_data.lines[position]->applyFlag = mark;
    for (const auto& [first, last] : runs)
        Q_EMIT LinesChanged(static_cast<int>(first), static_cast<int>(last));
    Q_EMIT LinesEdited();
}

void CCorvaneDoc::ReplaceAt(std::size_t position, const EntryInfo& content)
{
    Q_EMIT LinesAboutToBeChanged(static_cast<int>(position), static_cast<int>(position));
    *m_data.lines[position] = content;
    Q_EMIT LinesChanged(static_cast<int>(position), static_cast<int>(position));
    Q_EMIT LinesEdited();
}

void CCorvaneDoc::SetVisitSuggestedAt(const std::vector<std::size_t>& positions, bool suggested)
{
    const auto runs = Runs(positions);
    for (const auto& [first, last] : runs)
        Q_EMIT LinesAboutToBeChanged(static_cast<int>(first), static_cast<int>(last));
    for (const std::size_t position : positions)
        m_data.lines[position]->visitSuggested = suggested;
    for (const auto& [first, last] : runs)
        Q_EMIT LinesChanged(static_cast<int>(first), static_cast<int>(last));
    Q_EMIT LinesEdited();
}

void CCorvaneDoc::Permute(const std::vector<std::size_t>& order)
{
    Q_EMIT LinesAboutToBeReordered();
    EntryLines lines;
    lines.reserve(order.size());
    for (const std::size_t from : order)
        lines.push_back(std::move(m_data.lines[from]));
    m_data.lines = std::move(lines);
    Q_EMIT LinesReordered(order);
    Q_EMIT LinesEdited();
}
