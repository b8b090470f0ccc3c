#include "StationCommands.h"

#include "CliContext.h"
#include "Console.h"
#include "ImportHistory.h"
#include "StationCorrections.h"
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
    const bool connected = db.Connect(context.connectString, context.settings.dbPassword,
                                      StationDb::kReadOnly | StationDb::kNoDialog);
    if (!db.CorrectionsProblem().isEmpty())
        Console::Err(db.CorrectionsProblem() + QLatin1Char('\n'));
    if (connected)
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

// The code the words name: AREA LINE STATION, or LINE STOP with --bus.
std::optional<StationCode> CodeOf(const QStringList& words, bool bus)
{
    std::optional<long long> numbers[3];
    const int count = bus ? 2 : 3;
    for (int i = 0; i < count; ++i) {
        numbers[i] = Number(words.value(i));
        if (!numbers[i] || *numbers[i] < INT32_MIN || *numbers[i] > INT32_MAX)
            return std::nullopt;
    }
    const auto value = [&](int i) { return static_cast<std::int32_t>(*numbers[i]); };
    const StationCode code = bus ? StationCode::Bus(value(0), value(1))
                                 : StationCode::Rail(value(0), value(1), value(2));
    return code.IsValid() ? std::optional<StationCode>(code) : std::nullopt;
}

QString CodeWords(const StationCode& code)
{
    if (code.IsBus())
        return QStringLiteral("bus\t%1\t%2").arg(code.line).arg(code.station);
    return QStringLiteral("%1\t%2\t%3").arg(code.area).arg(code.line).arg(code.station);
}

// The user's table as it is now; a file that cannot be read is reported.
bool LoadCorrections(StationCorrections& corrections)
{
    QString problem;
    if (!corrections.Load(&problem))
        Console::Err(problem + QLatin1Char('\n'));
    return problem.isEmpty();
}

int Correct(const CommandLine& line, const QStringList& args)
{
    const bool bus = line.Flag(QStringLiteral("--bus"));
    const bool remove = line.Flag(QStringLiteral("--remove"));
    const int codeWords = bus ? 2 : 3;
    const auto code = CodeOf(args, bus);
    const qsizetype names = args.size() - codeWords;
    if (!code || (remove ? names != 0 : names < 1 || names > 3))
        return Console::kUsage;
    std::optional<StationNames> correction;
    if (!remove) {
        const QStringList given = args.mid(codeWords);
        correction = StationNames{given.value(0).trimmed(), given.value(1).trimmed(),
                                  given.value(2).trimmed()};
        if (correction->station.isEmpty())
            return Console::Fail(QStringLiteral("駅名がありません。"));
        for (const QString& name : {correction->station, correction->line, correction->company})
            if (!name.isEmpty() && !StationCorrections::IsValidName(name))
                return Console::Fail(QStringLiteral("名前に使えない文字があります。"));
    }
    StationCorrections corrections(StationCorrections::DefaultPath());
    bool missing = false;
    QString problem;
    QString error;
    // Read and written as one step: another program's corrections stay.
    const bool written = corrections.Update(
        [&](StationCorrections& current) {
            missing = remove && !current.Find(*code);
            current.Set(*code, correction);
            return !missing;
        },
        &problem, &error);
    if (!problem.isEmpty())
        Console::Err(problem + QLatin1Char('\n'));
    if (missing)
        return Console::Fail(QStringLiteral("%1 の訂正はありません。").arg(code->Text()));
    if (!written)
        return Console::Fail(error);
    return Console::kOk;
}

int Corrections()
{
    StationCorrections corrections(StationCorrections::DefaultPath());
    if (!LoadCorrections(corrections))
        return Console::kFailed;
    for (const auto& [code, names] : corrections.Entries())
        Console::Out(QStringLiteral("%1\t%2\t%3\t%4\n")
                         .arg(CodeWords(code), names.station, names.line, names.company));
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
    const bool flags = line.Flag(QStringLiteral("--bus")) || line.Flag(QStringLiteral("--remove"));
    if (action == QLatin1String("correct"))
        return Correct(line, args);
    if (flags)
        return Console::kUsage;
    if (action == QLatin1String("corrections") && args.isEmpty())
        return Corrections();
    if (action == QLatin1String("lookup") && args.size() == 3)
        return Lookup(args, context);
    if (action == QLatin1String("bus") && args.size() == 2)
        return Bus(args, context);
    if (action == QLatin1String("import") && args.size() == 2)
        return Import(args);
    return Console::kUsage;
}
