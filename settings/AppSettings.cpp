#include "AppSettings.h"

#include "ArchiveError.h"
#include "ArchiveReader.h"
#include "ArchiveWriter.h"
#include "Folders.h"

#include <QSettings>
#include <QVariant>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <variant>

namespace
{
using TextField = QString AppSettings::*;
using NumberField = int AppSettings::*;
using ListField = QStringList AppSettings::*;

struct Value {
    const char* name;
    std::variant<TextField, NumberField, ListField> field;
    QVariant (*fallback)();
};

QVariant Empty()
{
    return QString();
}
QVariant Documents()
{
    return GetDocumentsFolder();
}
QVariant Zero()
{
    return 0;
}
QVariant One()
{
    return 1;
}

// The stored values in the order in which they are written.
const std::array<Value, 32> kValues = {{
    {"PostName", &AppSettings::PostName, Empty},
    {"IdNumber", &AppSettings::IdNumber, Empty},
    {"Name", &AppSettings::Name, Empty},
    {"ConnectStringMdb", &AppSettings::ConnectStringMdb,
     [] { return QVariant(AppSettings::BuiltInConnectString()); }},
    {"ListControlWidth", &AppSettings::ListControlWidth, Empty},
    {"DefaultPath", &AppSettings::DefaultPath, Documents},
    {"EntryPath", &AppSettings::EntryPath, Documents},
    {"FormatPath", &AppSettings::FormatPath, Documents},
    {"FormatFilePath", &AppSettings::FormatFilePath,
     [] { return QVariant(JoinPath(GetDataFolder(), QStringLiteral("Default.fmt"))); }},
    {"AutoLoad", &AppSettings::AutoLoad, Zero},
    {"AutoSave", &AppSettings::AutoSave, Zero},
    {"ItemModify", &AppSettings::ItemModify, One},
    {"MRUMax", &AppSettings::MRUMax, [] { return QVariant(3); }},
    {"TransitURL", &AppSettings::TransitURL,
     [] { return QVariant(AppSettings::DefaultTransitUrl()); }},
    {"ListGridView", &AppSettings::ListGridView, One},
    {"ListZebraView", &AppSettings::ListZebraView, Zero},
    {"AppLook", &AppSettings::AppLook, [] { return QVariant(32801); }},
    {"PollingTime", &AppSettings::PollingTime, [] { return QVariant(5); }},
    {"Admin", &AppSettings::Admin, Zero},
    {"CsvSavePath", &AppSettings::CsvSavePath, Documents},
    {"CsvOutputItem", &AppSettings::CsvOutputItem,
     [] { return QVariant(QStringLiteral("2,5,8,9,11,12")); }},
    {"CsvApplyOnly", &AppSettings::CsvApplyOnly, Zero},
    {"CsvOutputHeader", &AppSettings::CsvOutputHeader, One},
    {"CsvProfile", &AppSettings::CsvProfile, Zero},
    {"CsvEncoding", &AppSettings::CsvEncoding, [] { return QVariant(AppSettings::kCsvShiftJis); }},
    {"CsvShowCardId", &AppSettings::CsvShowCardId, Zero},
    {"VisMaxCount", &AppSettings::VisMaxCount, [] { return QVariant(5); }},
    {"VisHistry", &AppSettings::VisHistry, [] { return QVariant(QStringList()); }},
    {"VisStation", &AppSettings::VisStation, [] { return QVariant(QStringList()); }},
    {"WavCardReadOK", &AppSettings::WavCardReadOK, Empty},
    {"CardNames", &AppSettings::CardNames, [] { return QVariant(QStringList()); }},
    {"CardIds", &AppSettings::CardIds, [] { return QVariant(QStringList()); }},
}};

const char* const kGroup = "Settings/Profile";

QString ReadText(const QVariant& stored, const QVariant& fallback)
{
    switch (stored.typeId()) {
    case QMetaType::QString:
        return stored.toString();
    case QMetaType::QStringList: // an unquoted comma in a hand-edited file
        return stored.toStringList().join(QLatin1Char(','));
    default:
        return fallback.toString();
    }
}

int ReadNumber(const QVariant& stored, const QVariant& fallback)
{
    switch (stored.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::QString: {
        bool ok = false;
        const int value = stored.toInt(&ok);
        return ok ? value : fallback.toInt();
    }
    default:
        return fallback.toInt();
    }
}

QStringList ReadList(const QVariant& stored)
{
    if (stored.typeId() != QMetaType::QByteArray)
        return {};
    try {
        ArchiveReader reader(stored.toByteArray());
        return reader.ReadStringList();
    } catch (const ArchiveError&) {
        return {};
    }
}

QByteArray EncodeList(const QStringList& list)
{
    ArchiveWriter writer;
    writer.WriteStringList(list);
    return writer.Data();
}
} // namespace

QString AppSettings::ConnectStringFor(const QString& databasePath)
{
    return QStringLiteral("Driver=Microsoft Access Driver (*.mdb);DBQ=%1;PageTimeout=5;")
        .arg(databasePath);
}

QString AppSettings::BuiltInConnectString()
{
    return ConnectStringFor(JoinPath(GetModuleFolder(), QStringLiteral("FenwirStn.mdb")));
}

QString AppSettings::DefaultTransitUrl()
{
    return QStringLiteral("https://www.google.co.jp/maps?ie=Shift-JIS&f=d&dirflg=r&saddr=入場駅"
                          "&daddr=出場駅&ttype=dep&date=日付&time=時刻");
}

std::unique_ptr<QSettings> AppSettings::OpenUserStore()
{
    auto store =
        std::make_unique<QSettings>(QSettings::defaultFormat(), QSettings::UserScope,
                                    QStringLiteral("Norkel"), QStringLiteral("Fenwir_Lite"));
    // The user's own file only: no company-wide or system file fills gaps.
    store->setFallbacksEnabled(false);
    return store;
}

void AppSettings::Load()
{
    Load(*OpenUserStore());
}

void AppSettings::Save() const
{
    Save(*OpenUserStore());
}

void AppSettings::Load(QSettings& store)
{
    store.beginGroup(QLatin1String(kGroup));
    for (const Value& value : kValues) {
        const QVariant stored = store.value(QLatin1String(value.name));
        std::visit(
            [&](auto field) {
                using Field = decltype(field);
                if constexpr (std::is_same_v<Field, TextField>)
                    this->*field = ReadText(stored, value.fallback());
                else if constexpr (std::is_same_v<Field, NumberField>)
                    this->*field = ReadNumber(stored, value.fallback());
                else
                    this->*field = ReadList(stored);
            },
            value.field);
    }
    store.endGroup();

    // The database always sits beside the program, whatever was stored.
    ConnectStringMdb = BuiltInConnectString();
    dbPassword = QLatin1String(kDbPassword);
    ItemModify = 1;
    if (MRUMax <= 0)
        MRUMax = 3;
    if (MRUMax > kMaxRecentFiles)
        MRUMax = kMaxRecentFiles;
    if (CsvProfile != kCsvHistory)
        CsvProfile = kCsvColumns;
    if (CsvEncoding != kCsvUtf8)
        CsvEncoding = kCsvShiftJis;
    // The station list runs parallel to the destinations; a missing or damaged
    // one is padded with empty stations so no destination is lost.
    while (VisStation.size() < VisHistry.size())
        VisStation.append(QString());
    while (VisStation.size() > VisHistry.size())
        VisStation.removeLast();
}

void AppSettings::Save(QSettings& store) const
{
    store.beginGroup(QLatin1String(kGroup));
    for (const Value& value : kValues) {
        std::visit(
            [&](auto field) {
                using Field = decltype(field);
                if constexpr (std::is_same_v<Field, ListField>)
                    store.setValue(QLatin1String(value.name), EncodeList(this->*field));
                else
                    store.setValue(QLatin1String(value.name), this->*field);
            },
            value.field);
    }
    store.endGroup();
    store.sync();
}

int AppSettings::GetCsvOutputItems(std::vector<std::uint16_t>& items) const
{
    const QStringList parts = CsvOutputItem.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        const QByteArray bytes = part.toUtf8();
        const long number = std::strtol(bytes.constData(), nullptr, 10);
        items.push_back(static_cast<std::uint16_t>(number));
    }
    return static_cast<int>(items.size());
}

namespace
{
// The entry of CardNames for an IDm, or -1.
qsizetype CardNameEntry(const QStringList& names, const QString& idmHex)
{
    const QString key = idmHex.mid(2).toUpper();
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString id = names[i].section(QLatin1Char('='), 0, 0);
        if (id.size() == idmHex.size() && id.mid(2).toUpper() == key)
            return i;
    }
    return -1;
}
} // namespace

QString AppSettings::CardNameOf(const QString& idmHex) const
{
    for (const QString& id : CardGroups().IdsOf(idmHex))
        if (const qsizetype entry = CardNameEntry(CardNames, id); entry >= 0)
            return CardNames[entry].section(QLatin1Char('='), 1);
    return QString();
}

void AppSettings::SetCardName(const QString& idmHex, const QString& name)
{
    QStringList ids = CardGroups().IdsOf(idmHex);
    if (std::none_of(ids.begin(), ids.end(),
                     [&](const QString& id) { return CardIdGroups::SameId(id, idmHex); }))
        ids.prepend(idmHex.toUpper());
    const QString trimmed = name.trimmed();
    for (const QString& id : ids) {
        const qsizetype entry = CardNameEntry(CardNames, id);
        if (entry >= 0)
            CardNames.removeAt(entry);
        if (!trimmed.isEmpty())
            CardNames.append(id.toUpper() + QLatin1Char('=') + trimmed);
    }
}

void AppSettings::LinkCardIds(const QStringList& idmHexes)
{
    QString name;
    for (const QString& id : idmHexes)
        if (name.isEmpty())
            name = CardNameOf(id);
    CardIdGroups groups = CardGroups();
    if (!groups.Link(idmHexes))
        return;
    CardIds = groups.Stored();
    if (!name.isEmpty())
        SetCardName(idmHexes.constFirst(), name);
}

void AppSettings::RemoveVisitAt(qsizetype position)
{
    if (position >= 0 && position < VisHistry.size())
        VisHistry.removeAt(position);
    if (position >= 0 && position < VisStation.size())
        VisStation.removeAt(position);
}

void AppSettings::AddVisit(const QString& visit, const QString& station)
{
    if (visit.isEmpty())
        return;
    qsizetype k = VisHistry.indexOf(visit);
    if (k >= 0)
        RemoveVisitAt(k);
    else
        k = VisHistry.size();
    if (k > 0) {
        if (k >= VisMaxCount)
            RemoveVisitAt(k - 1);
        if (VisHistry.size() > 50)
            RemoveVisitAt(k - 1);
    }
    VisHistry.prepend(visit);
    VisStation.prepend(station);
}

QString AppSettings::FindVisitByStation(const QString& station) const
{
    if (station.isEmpty())
        return QString();
    const qsizetype position = VisStation.indexOf(station);
    if (position < 0 || position >= VisHistry.size())
        return QString();
    return VisHistry.at(position);
}
