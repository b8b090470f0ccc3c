#pragma once

#include "AppliedLines.h"
#include "ApplyHistory.h"
#include "EntryList.h"
#include "PlacedLine.h"
#include "PrintFormat.h"
#include "StationCorrection.h"

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <utility>

class AppSettings;

// The one open expense claim: its lines in the user's order, the undo
// history of every change to them, its application history and its print
// layout. Views read the lines and follow the signals; every change goes
// through an undoable command here, and the claim is modified exactly when
// the undo history is off the point where it was last saved, opened or made.
class CCorvaneDoc : public QObject
{
    Q_OBJECT

public:
    explicit CCorvaneDoc(AppSettings& settings, QObject* parent = nullptr);
    ~CCorvaneDoc() override;

    // A new, empty, untitled claim; the first one also loads the history.
    bool NewDocument();
    // Reads an expense file. A file that cannot be opened or read whole (of
    // another format, damaged) leaves the open claim as it was.
    bool Load(const QString& path, QString* error);
    // Writes the claim to path through a new file renamed over the old one,
    // so a failed save never damages what was there. A recorded application
    // is never overwritten.
    bool Save(const QString& path, QString* error);
    // Takes lines as an opened file would give them (no file, unmodified).
    void ReplaceLines(EntryLines lines);
    // A snapshot of exactly the printed lines and a history record of their
    // total, as one exclusive step of the history. stamp holds what the
    // paper showed besides the lines: its number and print time (when it
    // printed them), claimant and period, and the print job that carries it.
    // False when either cannot be written, or the history is damaged, busy
    // or out of reach: then nothing is recorded (no snapshot is left behind)
    // and error says which file and why.
    bool RecordApplication(const std::vector<const EntryInfo*>& printed, QString* error = nullptr,
                           ApplyRecord stamp = {});

    // The number of the application this claim last recorded.
    const QString& LastRecordedId() const { return m_lastRecordedId; }

    // The edits, each one undoable step; false when nothing would change.
    // Marks by position; a line that may not be claimed is never marked.
    bool SetMarks(const std::vector<std::pair<std::size_t, bool>>& marks, const QString& text);
    bool ClearMarks(const std::vector<const EntryInfo*>& lines, const QString& text);
    // A line a recorded application claimed keeps what was claimed (date,
    // stations, fare, codes): an edit of those is refused, and only its visit
    // destination and remarks change; its mark changes only through SetMarks.
    bool EditLine(std::size_t position, const EntryInfo& content);
    void InsertLine(std::size_t position, std::unique_ptr<EntryInfo> line);
    void RemoveLines(std::vector<std::size_t> positions);
    // The suggested visit destinations of these lines become the user's
    // own; false when none of them holds a suggestion.
    bool ConfirmVisits(const std::vector<std::size_t>& positions);
    // The new order as the old position of each line (see OrderAsListed).
    bool Reorder(std::vector<std::size_t> order, const QString& text);
    // Lines added at the end, as a card read adds them, and in the same step
    // the lines at these positions given their new content (a fare the read
    // now knows).
    void AppendLines(EntryLines lines, const QString& text,
                     std::vector<std::pair<std::size_t, EntryInfo>> completed = {});
    // Station names corrected, one undoable step: each correction goes into
    // the user's table of corrections and names every card line with its
    // code. False when nothing would change, or when the table cannot be
    // written (then nothing changed); problems go out as CorrectionsProblem.
    bool CorrectStations(const std::vector<StationCorrection>& corrections);
    // The card last read and its raw rows: no part of the claim, not undone.
    void SetLastCard(const CardInfo& card, std::vector<CardHistoryRow> rows);
    // These IDs are one card (its records say so): the claim keeps it, and
    // shows it as one card.
    void LinkCardIds(const std::vector<CardId>& ids);
    // The IDs under which the claim's cards were read, with what the user's
    // settings know of cards read under several.
    CardIdGroups CardGroups() const;

    const EntryList& Data() const { return m_data; }
    const EntryLines& Lines() const { return m_data.lines; }
    // Positions of the given lines of this claim, ascending; others ignored.
    std::vector<std::size_t> PositionsOf(const std::vector<const EntryInfo*>& lines) const;
    ApplyHistory& History();
    // Reads the application history again when another program (the
    // command line, a second session) changed it since it was read.
    void RefreshHistory();
    // The day a recorded application claimed this line, if one did.
    std::optional<QDate> AppliedOn(const EntryInfo& line);
    // Of these lines, those a recorded application already claimed and the
    // days it did, from the history as it is now.
    AppliedLines::Claimed ClaimedBefore(const std::vector<const EntryInfo*>& lines);
    // The recorded applications, newest first.
    std::vector<AppliedLines::Application> Applications();
    // Takes back the application as Applications() listed it, for reason:
    // it stays in the history, marked with today, and its lines are no
    // longer claimed. False with the reason when it cannot be done (or the
    // history no longer holds it where it was listed).
    bool CancelApplication(const AppliedLines::Application& application, const QString& reason,
                           QString* error);
    // Why the history takes no application or cancellation now (damaged,
    // out of reach), from the history as it is now; empty when it does.
    QString HistoryProblem();
    // Why no application could be recorded now (the history's problem, or a
    // folder that cannot be made); empty when one may be.
    QString WhyNotRecordable();
    // A damaged history made whole on the user's word (see ApplyHistory).
    bool RepairHistory(QString* report);
    PrintFormat& Layout() { return m_layout; }
    QUndoStack& UndoStack() { return m_undo; }

    bool IsModified() const { return !m_undo.isClean(); }
    QString Path() const { return m_path; }
    // The file name, or "無題" for a claim never saved.
    QString Title() const;
    // A recorded application (a snapshot) is a record: saves ask for a new name.
    bool IsRecordedApplication() const { return m_data.kind == EntryList::Snapshot; }
    // Whether path names a recorded application's snapshot.
    bool IsSnapshotPath(const QString& path);

    static QString UnexpectedFormatMessage()
    {
        return QStringLiteral("予期しないファイル形式です。");
    }
    static QString SaveFailedMessage()
    {
        return QStringLiteral("ドキュメントの保存に失敗しました。");
    }
    static QString SnapshotProtectedMessage()
    {
        return QStringLiteral("申請の記録は上書きできません。別の名前を付けて保存してください。");
    }

Q_SIGNALS:
    // Everything replaced (new, open).
    void LinesAboutToBeReset();
    void LinesReset();
    // Positions first..last, inclusive.
    void LinesAboutToBeInserted(int first, int last);
    void LinesInserted(int first, int last);
    void LinesAboutToBeRemoved(int first, int last);
    void LinesRemoved(int first, int last);
    void LinesAboutToBeChanged(int first, int last);
    void LinesChanged(int first, int last);
    void LinesAboutToBeReordered();
    // order: the old position of the line now at each position.
    void LinesReordered(const std::vector<std::size_t>& order);
    // Once after every change of the lines, whatever its kind.
    void LinesEdited();
    void ModifiedChanged(bool modified);
    // The file, its name or its read-only state changed.
    void FileChanged();
    void CardChanged();
    // Cards the claim knew apart are now known as one.
    void CardsLinked();
    // The recorded applications changed: which lines are 申請済 may differ.
    void AppliedChanged();
    // The history was found damaged or out of reach: what it is, in the
    // user's words. Once for each problem found.
    void HistoryProblemFound(const QString& text);
    // A recorded application was changed and is now a new untitled claim.
    void LeftRecord();
    // The user's table of station-name corrections could not be read (it was
    // set aside) or written: what happened, in the user's words.
    void CorrectionsProblem(const QString& text);

private:
    friend class LinesCommand;
    friend class MarkLinesCommand;
    friend class EditLineCommand;
    friend class ReorderLinesCommand;
    friend class CorrectStationsCommand;
    friend class ConfirmVisitsCommand;

    // The commands' primitives: each emits the signals of its change.
    void InsertAt(std::vector<PlacedLine> lines);
    std::vector<PlacedLine> TakeAt(const std::vector<std::size_t>& positions);
    // Marks by ascending position.
    void SetMarksAt(const std::vector<std::pair<std::size_t, std::uint8_t>>& marks);
    void ReplaceAt(std::size_t position, const EntryInfo& content);
    // Positions ascending.
    void SetVisitSuggestedAt(const std::vector<std::size_t>& positions, bool suggested);
    void Permute(const std::vector<std::size_t>& order);

    void Reset(EntryList data, const QString& path);
    // Every change goes on the undo stack through here.
    void Push(QUndoCommand* command);
    // The history changed: the applied lines are read again when asked.
    void HistoryChanged();
    AppliedLines& Applied();

    AppSettings& m_settings;
    EntryList m_data;
    ApplyHistory m_history{m_settings};
    QString m_historyProblem; // as last told
    PrintFormat m_layout;
    QUndoStack m_undo;
    AppliedLines m_applied;
    bool m_appliedLoaded = false;
    QString m_path;
    QString m_lastRecordedId;
};
