#include "StationCommands.h"

#include "CliContext.h"
#include "Console.h"
#include "ImportHistory.h"
#include "StationDb.h"
#include "StationListImport.h"

#include <optional>

namespace
{
std::optional<long long> Number(const QString& text)
{
    bool ok = false;
    const long long value = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                                ? text.mid(2).toLongLong(&ok, 16)
                                : text.toLongLong(&ok, 10);
    return ok ? std::optional<long long>(value) : std::nullopt;
}

bool Connect(StationDb& db, const CliContext& context)
{
    if (db.Connect(context.connectString, context.settings.dbPassword,
                   StationDb::kReadOnly | StationDb::kNoDialog))
        return true;
    Console::Fail(QStringLiteral("駅名情報データベースの接続に失敗しました。"));
    return false;
}

int Lookup(const QStringList& args, const CliContext& context)
{
    std::optional<long long> codes[3];
    for (int i = 0; i < 3; ++i) {
        codes[i] = Number(args.value(i));
        if (!codes[i] || *codes[i] < 0 || *codes[i] > 255)
            return Console::kUsage;
    }
    StationDb db;
    if (!Connect(db, context))
        return Console::kFailed;
    QString name, line, company;
    double latitude = 0, longitude = 0;
    db.LookupStation(static_cast<std::uint8_t>(*codes[0]), static_cast<std::uint8_t>(*codes[1]),
                     static_cast<std::uint8_t>(*codes[2]), name, line, company, latitude,
                     longitude);
    Console::Out(QStringLiteral("%1\t%2\t%3\t%4\t%5\n")
                     .arg(name, line, company)
                     .arg(latitude, 0, 'f', 6)
                     .arg(longitude, 0, 'f', 6));
    return Console::kOk;
}

int Bus(const QStringList& args, const CliContext& context)
{
    const auto busLine = Number(args.value(0));
    const auto stop = Number(args.value(1));
    if (!busLine || !stop || *busLine < INT32_MIN || *busLine > INT32_MAX || *stop < INT32_MIN ||
        *stop > INT32_MAX)
        return Console::kUsage;
    StationDb db;
    if (!Connect(db, context))
        return Console::kFailed;
    QString name, line, company;
    db.LookupBusStop(static_cast<std::int32_t>(*busLine), static_cast<std::int32_t>(*stop), name,
                     line, company);
    Console::Out(QStringLiteral("%1\t%2\t%3\n").arg(name, line, company));
    return Console::kOk;
}

int Import(const QStringList& args)
{
    QString error;
    int stations = 0, stops = 0;
    if (!StationListImport::Run(args[0], args[1], &error, &stations, &stops))
        return Console::Fail(error);
    Console::Out(
        QStringLiteral("%1: 駅 %2件、バス停 %3件\n").arg(args[1]).arg(stations).arg(stops));
    return Console::kOk;
}
} // namespace

int StationCommands::Run(const CommandLine& line, CliContext& context)
{
    const QStringList& words = line.Positionals();
    const QString action = words.value(0);
    const QStringList args = words.mid(1);
    if (action == QLatin1String("lookup") && args.size() == 3)
        return Lookup(args, context);
    if (action == QLatin1String("bus") && args.size() == 2)
        return Bus(args, context);
    if (action == QLatin1String("import") && args.size() == 2)
        return Import(args);
    return Console::kUsage;
}
