#include "StationCorrections.h"

#include "FileLock.h"
#include "FileWriter.h"
#include "Folders.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <limits>

namespace
{
constexpr int kVersion = 1;

std::optional<std::int32_t> Integer(const QJsonValue& value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (number != std::floor(number) || number < std::numeric_limits<std::int32_t>::min() ||
        number > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(number);
}

// An optional text field: absent or a string.
bool OptionalText(const QJsonObject& item, const char* key, QString& text)
{
    const QJsonValue value = item.value(QLatin1String(key));
    if (value.isUndefined())
        return true;
    if (!value.isString() ||
        (!value.toString().isEmpty() && !StationCorrections::IsValidName(value.toString())))
        return false;
    text = value.toString();
    return true;
}

std::optional<std::pair<StationCode, StationNames>> Entry(const QJsonValue& value, bool bus)
{
    const QJsonObject item = value.toObject();
    if (!value.isObject())
        return std::nullopt;
    std::optional<StationCode> code;
    if (bus) {
        const auto line = Integer(item.value(QLatin1String("line")));
        const auto stop = Integer(item.value(QLatin1String("stop")));
        if (line && stop)
            code = StationCode::Bus(*line, *stop);
    } else {
        const auto area = Integer(item.value(QLatin1String("area")));
        const auto line = Integer(item.value(QLatin1String("line")));
        const auto station = Integer(item.value(QLatin1String("station")));
        if (area && line && station)
            code = StationCode::Rail(*area, *line, *station);
    }
    if (!code || !code->IsValid())
        return std::nullopt;
    StationNames names;
    const QJsonValue name = item.value(QLatin1String("name"));
    if (!name.isString() || !StationCorrections::IsValidName(name.toString()))
        return std::nullopt;
    names.station = name.toString();
    if (!OptionalText(item, "lineName", names.line) ||
        !OptionalText(item, "company", names.company))
        return std::nullopt;
    return std::make_pair(*code, names);
}

QString FreeAsidePath(const QString& path)
{
    const QFileInfo info(path);
    const QString stem = info.dir().filePath(
        info.completeBaseName() + QStringLiteral(".unreadable-") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    QString aside = stem + QStringLiteral(".json");
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo(aside).isSymLink(); ++n)
        aside = stem + QStringLiteral("-%1.json").arg(n);
    return aside;
}
} // namespace

StationCorrections::StationCorrections(QString path) : m_path(std::move(path)) {}

QString StationCorrections::DefaultPath()
{
    return JoinPath(GetDataFolder(), QStringLiteral("StationCorrections.json"));
}

bool StationCorrections::IsValidName(const QString& name)
{
    if (name.trimmed().isEmpty() || !name.isValidUtf16())
        return false;
    for (const QChar c : name) {
        const auto category = c.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line ||
            category == QChar::Separator_Paragraph)
            return false;
    }
    return true;
}

bool StationCorrections::Parse(const QByteArray& bytes, Table& table, QString* reason)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        *reason = QStringLiteral("JSON として読めません。%1 バイト目").arg(error.offset + 1);
        return false;
    }
    const QJsonObject root = document.object();
    if (!document.isObject() || Integer(root.value(QLatin1String("version"))) != kVersion) {
        *reason = QStringLiteral("駅名の訂正の表ではありません");
        return false;
    }
    Table read;
    for (const bool bus : {false, true}) {
        const QString kind = bus ? QStringLiteral("bus") : QStringLiteral("rail");
        const QJsonValue list = root.value(kind);
        if (list.isUndefined())
            continue;
        if (!list.isArray()) {
            *reason = QStringLiteral("%1 が一覧ではありません").arg(kind);
            return false;
        }
        int number = 0;
        for (const QJsonValue& value : list.toArray()) {
            ++number;
            const auto entry = Entry(value, bus);
            if (!entry || read.count(entry->first) != 0) {
                *reason = QStringLiteral("%1 の %2 番目の項目が正しくないか、重なっています")
                              .arg(kind)
                              .arg(number);
                return false;
            }
            read.insert(*entry);
        }
    }
    table = std::move(read);
    return true;
}

QByteArray StationCorrections::Serialize(const Table& table)
{
    QJsonArray rail;
    QJsonArray bus;
    for (const auto& [code, names] : table) {
        QJsonObject item;
        if (code.IsBus()) {
            item.insert(QStringLiteral("line"), code.line);
            item.insert(QStringLiteral("stop"), code.station);
        } else {
            item.insert(QStringLiteral("area"), code.area);
            item.insert(QStringLiteral("line"), code.line);
            item.insert(QStringLiteral("station"), code.station);
        }
        item.insert(QStringLiteral("name"), names.station);
        if (!names.line.isEmpty())
            item.insert(QStringLiteral("lineName"), names.line);
        if (!names.company.isEmpty())
            item.insert(QStringLiteral("company"), names.company);
        (code.IsBus() ? bus : rail).append(item);
    }
    QJsonObject root;
    root.insert(QStringLiteral("version"), kVersion);
    root.insert(QStringLiteral("rail"), rail);
    root.insert(QStringLiteral("bus"), bus);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool StationCorrections::Load(QString* problem)
{
    m_table.clear();
    m_blocked = false;
    if (problem)
        problem->clear();
    if (m_path.isEmpty())
        return true;
    const QFileInfo info(m_path);
    if (!info.exists() && !info.isSymLink())
        return true;
    QByteArray bytes;
    QString reason;
    {
        // Closed before it is set aside: Windows renames no open file.
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly))
            reason = file.errorString();
        else if (bytes = file.readAll(); file.error() != QFileDevice::NoError)
            reason = file.errorString();
    }
    if (!reason.isEmpty() || !Parse(bytes, m_table, &reason))
        return SetAside(reason, problem);
    return true;
}

bool StationCorrections::SetAside(const QString& reason, QString* problem)
{
    m_table.clear();
    const QString aside = FreeAsidePath(m_path);
    QString text =
        QStringLiteral("駅名の訂正ファイル %1 を読めませんでした（%2）。").arg(m_path, reason);
    if (QFile::rename(m_path, aside)) {
        text +=
            QStringLiteral("このファイルは %1 として残し、訂正のない状態で続けます。").arg(aside);
    } else {
        m_blocked = true;
        text += QStringLiteral("訂正のない状態で続けます。このファイルには書き込みません。");
    }
    if (problem)
        *problem = text;
    return false;
}

bool StationCorrections::Save(QString* error) const
{
    if (m_blocked) {
        if (error)
            *error = QStringLiteral("駅名の訂正ファイル %1 を読めないため、訂正を保存できません。")
                         .arg(m_path);
        return false;
    }
    return FileWriter::WriteAtomically(m_path, Serialize(m_table), error);
}

bool StationCorrections::Update(const std::function<bool(StationCorrections&)>& change,
                                QString* problem, QString* error)
{
    if (m_path.isEmpty()) {
        if (error)
            *error = QStringLiteral("駅名の訂正ファイルの場所がありません"
                                    "（データフォルダーのパスが長すぎます）。");
        return false;
    }
    FileLock lock(m_path);
    if (!lock.Lock(error))
        return false;
    Load(problem);
    if (!change(*this))
        return true;
    lock.BeforePublish();
    return Save(error);
}

const StationNames* StationCorrections::Find(const StationCode& code) const
{
    const auto found = m_table.find(code);
    return found == m_table.end() ? nullptr : &found->second;
}

std::optional<StationNames> StationCorrections::Get(const StationCode& code) const
{
    const StationNames* names = Find(code);
    return names ? std::optional<StationNames>(*names) : std::nullopt;
}

void StationCorrections::Set(const StationCode& code, const std::optional<StationNames>& names)
{
    if (names)
        m_table[code] = *names;
    else
        m_table.erase(code);
}
