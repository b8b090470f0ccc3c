#pragma once

#include "ApplyHistory.h"
#include "EntryList.h"
#include "PrintFormat.h"

#include <QObject>
#include <QString>

class AppSettings;

// The one open expense claim: its lines, its application history and its
// print layout. Views follow it through the update hints.
class CCorvaneDoc : public QObject
{
    Q_OBJECT

public:
    enum Hint { HintRefill = 1, HintRebuild = 2, HintClear = 3 };

    explicit CCorvaneDoc(AppSettings& settings, QObject* parent = nullptr);

    // A new, empty, untitled claim; the first one also loads the history.
    bool NewDocument();
    // Reads an expense file. A file that cannot be opened leaves the claim as
    // it was; a file of another format leaves it empty and untitled.
    bool Load(const QString& path, QString* error);
    // Writes the claim to path through a new file renamed over the old one,
    // so a failed save never damages what was there.
    bool Save(const QString& path, QString* error);
    // After a real print: a snapshot of the claimed lines and a history record.
    // The amount is stored in 32 bits; a larger total is kept at the limit.
    bool RecordApplication(std::int64_t amount);
    // Has the views write their edits back into the lines, before the lines
    // are saved, exported, printed or added to.
    void CollectViewEdits() { Q_EMIT Updated(HintRebuild); }

    EntryList& Data() { return m_data; }
    const EntryList& Data() const { return m_data; }
    ApplyHistory& History() { return m_history; }
    PrintFormat& Layout() { return m_layout; }

    bool IsModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }
    QString Path() const { return m_path; }
    // The file name, or "無題" for a claim never saved.
    QString Title() const;

    static QString UnexpectedFormatMessage()
    {
        return QStringLiteral("予期しないファイル形式です。");
    }
    static QString SaveFailedMessage()
    {
        return QStringLiteral("ドキュメントの保存に失敗しました。");
    }

Q_SIGNALS:
    void Updated(int hint);

private:
    void EnsureHistoryLoaded();
    QString FreeSnapshotPath() const;

    AppSettings& m_settings;
    EntryList m_data;
    ApplyHistory m_history;
    PrintFormat m_layout;
    bool m_historyLoaded = false;
    bool m_modified = false;
    QString m_path;
};
