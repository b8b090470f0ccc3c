#include "ApplyHistory.h"

#include "AppSettings.h"
#include "ArchiveError.h"
#include "ArchiveReader.h"
#include "ArchiveWriter.h"
#include "FileWriter.h"
#include "Folders.h"
#include "TextFormat.h"

#include <QFile>
#include <QFileInfo>

const QString ApplyHistory::kMarker = QStringLiteral("<## ApplyHistoryInfo ##>");
const QString ApplyHistory::kFileName = QStringLiteral("Apply.hst");

QString ApplyHistory::Folder(const AppSettings& settings)
{
    return EnsureSubfolder(settings.DefaultPath, QStringLiteral("ApplyHistory"));
}

std::vector<ApplyRecord> ApplyHistory::Parse(const QByteArray& bytes)
{
    ArchiveReader in(bytes);
    if (in.ReadString() != kMarker)
        throw ArchiveError("not an application history");
    const std::int32_t count = in.ReadInt32();
    std::vector<ApplyRecord> records;
    for (std::int32_t i = 0; i < count; ++i) {
        ApplyRecord record;
        record.documentTime = in.ReadTime();
        record.amount = in.ReadInt32();
        record.snapshotPath = in.ReadString();
        records.push_back(std::move(record));
    }
    return records;
}

QByteArray ApplyHistory::Serialize(const std::vector<ApplyRecord>& records)
{
    if (records.empty())
        return QByteArray(); // no records: an empty file
    ArchiveWriter out;
    out.WriteString(kMarker);
    out.WriteInt32(static_cast<std::int32_t>(records.size()));
    for (const ApplyRecord& record : records) {
        out.WriteTime(record.documentTime);
        out.WriteInt32(record.amount);
        out.WriteString(record.snapshotPath);
    }
    return out.Data();
}

bool ApplyHistory::Load(const AppSettings& settings)
{
    const QString path = JoinPath(Folder(settings), kFileName);
    QFile file(path);
    m_fileUnreadable = false;
    if (!file.open(QIODevice::ReadOnly)) {
        m_fileUnreadable = file.exists();
        return false;
    }
    Clear();
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty())
        return false;
    try {
        m_records = Parse(bytes);
        return true;
    } catch (const ArchiveError&) {
        m_fileUnreadable = true;
        return false;
    }
}

bool ApplyHistory::KeepDamagedFileAside(const QString& path)
{
    const QString folder = QFileInfo(path).path();
    const QString stamp = MakeTimestampName(QStringLiteral("Apply-unreadable-"), QString());
    QString aside = JoinPath(folder, stamp + QStringLiteral(".hst"));
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = JoinPath(folder, stamp + QStringLiteral("-%1.hst").arg(n));
    return QFile::rename(path, aside);
}

bool ApplyHistory::Save(const AppSettings& settings)
{
    const QString path = JoinPath(Folder(settings), kFileName);
    if (m_fileUnreadable && QFileInfo::exists(path)) {
        if (!KeepDamagedFileAside(path))
            return false;
    }
    m_fileUnreadable = false;
    if (!FileWriter::WriteAtomically(path, Serialize(m_records), nullptr))
        return false;
    return !m_records.empty();
}
