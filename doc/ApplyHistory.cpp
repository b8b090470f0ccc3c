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
#include <algorithm>

const QString ApplyHistory::kMarker = QStringLiteral("<## ApplyHistoryInfo ##>");
const QString ApplyHistory::kCancelMarker = QStringLiteral("<## ApplyHistoryCancelled ##>");
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
    // Anything else after the records is not ours to read.
    if (in.AtEnd() || in.ReadString() != kCancelMarker)
        return records;
    const std::int32_t cancelled = in.ReadInt32();
    for (std::int32_t i = 0; i < cancelled; ++i) {
        const std::int32_t index = in.ReadInt32();
        const std::int64_t when = in.ReadTime();
        if (index < 0 || index >= count)
            throw ArchiveError("a cancellation of no record");
        records[static_cast<std::size_t>(index)].cancelled = when;
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
    const auto cancelled = std::count_if(records.begin(), records.end(),
                                         [](const ApplyRecord& r) { return r.cancelled != 0; });
    if (cancelled == 0)
        return out.Data(); // byte for byte what earlier versions write
    out.WriteString(kCancelMarker);
    out.WriteInt32(static_cast<std::int32_t>(cancelled));
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].cancelled == 0)
            continue;
        out.WriteInt32(static_cast<std::int32_t>(i));
        out.WriteTime(records[i].cancelled);
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

bool ApplyHistory::Save(const AppSettings& settings, QString* error)
{
    const QString path = JoinPath(Folder(settings), kFileName);
    if (m_fileUnreadable && QFileInfo::exists(path)) {
        if (!KeepDamagedFileAside(path)) {
            if (error)
                *error = FileWriter::WriteFailedMessage(
                    path, QStringLiteral("読めない履歴ファイルを別名で残せませんでした"));
            return false;
        }
    }
    m_fileUnreadable = false;
    if (!FileWriter::WriteAtomically(path, Serialize(m_records), error))
        return false;
    return !m_records.empty();
}
