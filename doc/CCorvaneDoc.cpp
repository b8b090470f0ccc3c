#include "CCorvaneDoc.h"

#include "AppSettings.h"
#include "ArchiveError.h"
#include "ArchiveReader.h"
#include "ArchiveWriter.h"
#include "FileWriter.h"
#include "Folders.h"
#include "TextFormat.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <limits>

CCorvaneDoc::CCorvaneDoc(AppSettings& settings, QObject* parent)
    : QObject(parent), m_settings(settings)
{
}

QString CCorvaneDoc::Title() const
{
    return m_path.isEmpty() ? QStringLiteral("無題") : QFileInfo(m_path).fileName();
}

bool CCorvaneDoc::NewDocument()
{
    Q_EMIT Updated(HintClear);
    m_data.Clear();
    m_path.clear();
    m_modified = false;
    if (m_layout.IsEmpty()) {
        m_layout.Load(m_settings.FormatFilePath);
        EnsureHistoryLoaded();
    }
    return true;
}

void CCorvaneDoc::EnsureHistoryLoaded()
{
    if (m_historyLoaded)
        return;
    m_history.Load(m_settings);
    m_historyLoaded = true;
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
    Q_EMIT Updated(HintClear);
    m_data.Clear();
    m_modified = false;
    try {
        ArchiveReader in(bytes);
        m_data.Read(in);
    } catch (const ArchiveError&) {
        // Untitled, so a later save cannot replace the unread file by accident.
        m_path.clear();
        if (error)
            *error = UnexpectedFormatMessage();
        return false;
    }
    m_path = path;
    Q_EMIT Updated(HintRefill);
    return true;
}

bool CCorvaneDoc::Save(const QString& path, QString* error)
{
    CollectViewEdits();
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
    m_modified = false;
    return true;
}

QString CCorvaneDoc::FreeSnapshotPath() const
{
    const QString folder = ApplyHistory::Folder(m_settings);
    const QString stem = MakeTimestampName(QStringLiteral("Apply"), QString());
    // Two claims printed within one second keep two snapshots.
    QString path = JoinPath(folder, stem + QStringLiteral(".ent"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = JoinPath(folder, stem + QStringLiteral("-%1.ent").arg(n));
    return path;
}

bool CCorvaneDoc::RecordApplication(std::int64_t total)
{
    const auto amount = static_cast<std::int32_t>(std::clamp<std::int64_t>(
        total, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
    EnsureHistoryLoaded();
    ArchiveWriter out;
    try {
        m_data.Write(out, EntryList::Snapshot);
    } catch (const ArchiveError&) {
        return false;
    }
    const QString path = FreeSnapshotPath();
    if (!FileWriter::WriteAtomically(path, out.Data(), nullptr))
        return false;
    m_history.Add(ApplyRecord{m_data.documentTime, amount, QFileInfo(path).absoluteFilePath()});
    m_history.Save(m_settings);
    return true;
}
