#include "ApplyHistory.h"

#include "AppSettings.h"
#include "FileLock.h"
#include "FileWriter.h"
#include "HistoryFile.h"
#include "HistoryFolder.h"
#include "LocalIdentity.h"
#include "TextFormat.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

const QString ApplyHistory::kFileName = QStringLiteral("Apply.hst");

namespace
{
// Names are searched among this many at most.
constexpr int kNames = 100;

QString DamagedMessage(const QString& path, std::size_t read)
{
    return QStringLiteral("申請履歴 %1 が壊れています。読めた申請 %2 件は申請済みとして扱いますが、"
                          "読めない部分があります。修復するまで申請の記録と取消はできません"
                          "（表示 → 申請履歴... の 修復...、または fenwir-cli applications "
                          "--repair）。")
        .arg(QDir::toNativeSeparators(path))
        .arg(read);
}

// stem + ".ent", then stem + "-2.ent" and on: the first free name, created
// with bytes.
QString CreateUnderFreeName(const HistoryFolder& folder, const QString& stem, const QString& suffix,
                            const QByteArray& bytes, QString* error)
{
    for (int n = 1; n <= kNames; ++n) {
        const QString name =
            n == 1 ? stem + suffix : QStringLiteral("%1-%2%3").arg(stem).arg(n).arg(suffix);
        const QString path = folder.File(name);
        switch (FileWriter::CreateNew(path, bytes, error)) {
        case FileWriter::Creation::Created:
            return path;
        case FileWriter::Creation::Failed:
            return QString();
        case FileWriter::Creation::Taken:
            break;
        }
    }
    if (error)
        *error =
            QStringLiteral("申請履歴のフォルダー %1 に %2 で始まる名前のファイルが多すぎるため、"
                           "新しいファイルを作れませんでした。")
                .arg(QDir::toNativeSeparators(folder.Path()), stem);
    return QString();
}
} // namespace

ApplyHistory::ApplyHistory(const AppSettings& settings) : m_settings(settings) {}

QString ApplyHistory::Fingerprint(const QByteArray& snapshot)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(snapshot, QCryptographicHash::Sha256).toHex());
}

QString ApplyHistory::NextId()
{
    Refresh();
    return HistoryFile::NextId(m_contents.records);
}

QString ApplyHistory::SnapshotFile(const ApplyRecord& record) const
{
    if (QFileInfo::exists(record.snapshotPath))
        return record.snapshotPath;
    // A moved Documents folder, another computer: the snapshot is where the
    // history is, under its own name.
    const HistoryFolder folder = HistoryFolder::Find(m_settings.DefaultPath);
    const QString name = QFileInfo(record.snapshotPath).fileName();
    if (folder.IsUsable() && !name.isEmpty()) {
        const QString beside = folder.File(name);
        if (QFileInfo::exists(beside))
            return beside;
    }
    return record.snapshotPath;
}

QString ApplyHistory::FilePath() const
{
    const HistoryFolder folder = HistoryFolder::Find(m_settings.DefaultPath);
    return folder.IsUsable() ? folder.File(kFileName) : QString();
}

QString ApplyHistory::WhyNoChange() const
{
    return m_problem.isEmpty() ? HistoryFolder::Make(m_settings.DefaultPath).Error() : m_problem;
}

ApplyHistory::Stamp ApplyHistory::StampOf(const HistoryFolder& folder)
{
    Stamp stamp;
    if (!folder.IsUsable()) {
        stamp.problem = folder.Error();
        return stamp;
    }
    stamp.path = folder.File(kFileName);
    const QFileInfo file(stamp.path);
    stamp.exists = file.exists();
    if (stamp.exists) {
        stamp.modified = file.lastModified();
        stamp.size = file.size();
    }
    return stamp;
}

bool ApplyHistory::Refresh()
{
    const HistoryFolder folder = HistoryFolder::Find(m_settings.DefaultPath);
    if (m_read && StampOf(folder) == m_stamp)
        return false;
    const HistoryContents before = m_contents;
    Read(folder);
    return before != m_contents;
}

void ApplyHistory::Read(const HistoryFolder& folder)
{
    m_read = true;
    m_stamp = StampOf(folder);
    m_damaged = false;
    if (!folder.IsUsable()) {
        // What was read before still stands: its trips stay claimed.
        m_problem = folder.Error();
        return;
    }
    m_problem.clear();
    QFile file(m_stamp.path);
    if (!m_stamp.exists) {
        m_contents = {};
        m_bytes.clear();
        return;
    }
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        m_problem = QStringLiteral("申請履歴 %1 を読めません（%2）。申請の記録と取消はできません。")
                        .arg(QDir::toNativeSeparators(m_stamp.path), file.errorString());
        return;
    }
    HistoryFile::Reading reading = HistoryFile::Read(bytes);
    m_bytes = std::move(bytes);
    m_contents = std::move(reading.contents);
    HistoryFile::Number(m_contents.records);
    m_damaged = reading.damaged;
    if (m_damaged)
        m_problem = DamagedMessage(m_stamp.path, m_contents.records.size());
}

bool ApplyHistory::Locked(const Step& step, QString* error)
{
    const HistoryFolder folder = HistoryFolder::Make(m_settings.DefaultPath);
    if (!folder.IsUsable()) {
        m_problem = folder.Error();
        if (error)
            *error = m_problem;
        return false;
    }
    FileLock lock(folder.File(kFileName));
    if (!lock.Lock(error))
        return false;
    Read(folder);
    return step(folder, lock, error);
}

bool ApplyHistory::Publish(const HistoryFolder& folder, FileLock& lock,
                           const HistoryContents& contents, QString* error)
{
    lock.BeforePublish();
    const QByteArray bytes = HistoryFile::Serialize(contents);
    if (!FileWriter::WriteAtomically(folder.File(kFileName), bytes, error))
        return false;
    m_contents = contents;
    m_bytes = bytes;
    m_problem.clear();
    m_damaged = false;
    m_stamp = StampOf(folder);
    return true;
}

bool ApplyHistory::Update(const Change& change, QString* error)
{
    return Locked(
        [&](const HistoryFolder& folder, FileLock& lock, QString* why) {
            if (!m_problem.isEmpty()) {
                if (why)
                    *why = m_problem;
                return false;
            }
            HistoryContents next = m_contents;
            return change(next, folder, why) && Publish(folder, lock, next, why);
        },
        error);
}

bool ApplyHistory::Record(const QByteArray& snapshot, ApplyRecord& record, QString* error)
{
    QString created;
    const bool recorded = Update(
        [&](HistoryContents& contents, const HistoryFolder& folder, QString* why) {
            created =
                CreateUnderFreeName(folder, MakeTimestampName(QStringLiteral("Apply"), {}, m_now()),
                                    QStringLiteral(".ent"), snapshot, why);
            if (created.isEmpty())
                return false;
            record.snapshotPath = QFileInfo(created).absoluteFilePath();
            // The number the paper shows stays its number, unless another
            // program took it meanwhile.
            const auto& records = contents.records;
            if (record.id.isEmpty() ||
                std::any_of(records.begin(), records.end(),
                            [&](const ApplyRecord& r) { return r.id == record.id; }))
                record.id = HistoryFile::NextId(records);
            if (record.printed == 0)
                record.printed = m_now().toSecsSinceEpoch();
            record.printedBy = {LocalIdentity::LoginName(), LocalIdentity::HostName()};
            record.sha256 = Fingerprint(snapshot);
            contents.records.push_back(record);
            return true;
        },
        error);
    // A snapshot no record names would be a claim nobody knows of.
    if (!recorded && !created.isEmpty())
        QFile::remove(created);
    return recorded;
}

bool ApplyHistory::Cancel(std::size_t index, QString snapshotPath, std::int64_t when,
                          const QString& reason, QString* error)
{
    return Update(
        [&](HistoryContents& contents, const HistoryFolder&, QString* why) {
            auto& records = contents.records;
            const char* refusal = nullptr;
            if (index >= records.size() || records[index].snapshotPath != snapshotPath)
                refusal = "その申請は申請履歴にありません。";
            else if (records[index].cancelled != 0)
                refusal = "その申請はすでに取り消されています。";
            if (refusal) {
                if (why)
                    *why = QString::fromUtf8(refusal);
                return false;
            }
            records[index].cancelled = when;
            records[index].cancelReason = reason;
            records[index].cancelledBy = {LocalIdentity::LoginName(), LocalIdentity::HostName()};
            return true;
        },
        error);
}

QString ApplyHistory::SetAside(const HistoryFolder& folder, QString* error) const
{
    return CreateUnderFreeName(folder,
                               MakeTimestampName(QStringLiteral("Apply-damaged-"), {}, m_now()),
                               QStringLiteral(".hst"), m_bytes, error);
}

bool ApplyHistory::Repair(QString* report)
{
    return Locked(
        [&](const HistoryFolder& folder, FileLock& lock, QString* why) {
            const QString path = folder.File(kFileName);
            if (!m_damaged) {
                if (why)
                    *why = m_problem.isEmpty() ? QStringLiteral("申請履歴 %1 は壊れていません。")
                                                     .arg(QDir::toNativeSeparators(path))
                                               : m_problem;
                return m_problem.isEmpty();
            }
            // The damaged file stays as it was, under a name of its own,
            // before anything replaces it.
            const QString aside = SetAside(folder, why);
            if (aside.isEmpty())
                return false;
            HistoryContents whole;
            whole.records = m_contents.records;
            if (!Publish(folder, lock, whole, why)) {
                QFile::remove(aside);
                return false;
            }
            if (why)
                *why = QStringLiteral("申請履歴 %1 を修復しました。読めた申請 %2 件を残し、"
                                      "壊れていたファイルは %3 として残しました。")
                           .arg(QDir::toNativeSeparators(path))
                           .arg(whole.records.size())
                           .arg(QDir::toNativeSeparators(aside));
            return true;
        },
        report);
}
