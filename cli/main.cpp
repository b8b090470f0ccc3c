// fenwir-cli: transport-expense claims from the command line.
#include "ApplicationCommands.h"
#include "CardCommands.h"
#include "CliContext.h"
#include "CommandLine.h"
#include "Console.h"
#include "ConsoleSession.h"
#include "DocumentCommands.h"
#include "ProductVersion.h"
#include "ReaderCommands.h"
#include "StationCommands.h"

#include <QGuiApplication>
#include <QHashFunctions>
#include <functional>

namespace
{
const char* kUsage = R"(使い方: fenwir-cli コマンド [オプション] 引数...

  read [--reader auto|demo|image:ファイル] [--polling-time 秒] [--json] [--other-card]
       交通費ファイル.ent
  import-dump [--json] [--other-card] カードイメージ 交通費ファイル.ent
  show [--json] [期間] 交通費ファイル.ent
  csv [--profile columns|history] [--items 列番号,...] [--apply-only] [--no-header]
      [--encoding cp932|utf-8] [--show-card-id] [期間] 交通費ファイル.ent 出力.csv
  print --pdf 出力.pdf [--layout レイアウト.fmt] [--record [--reclaim]] [期間] 交通費ファイル.ent
  applications [--json] [期間] [--min 金額] [--max 金額] [--text 文字]
  applications --cancel 申請番号 --reason 理由
  applications --verify
  applications --export フォルダ [期間]
  applications --repair
  stations lookup エリア 路線 駅
  stations bus バス路線 停留所
  stations import 駅一覧.csv 出力データベース
  stations correct エリア 路線 駅 駅名 [路線名 [会社名]]
  stations correct --bus バス路線 停留所 停留所名 [路線名 [会社名]]
  stations correct --remove エリア 路線 駅 | --remove --bus バス路線 停留所
  stations corrections
  readers
  demo [--out フォルダ]
  --version

期間: --month 年-月 (2026-11)、または --from 年-月-日 と --to 年-月-日 (その日を含む)。
applications の期間は印刷日です。--cancel は申請番号 (A00012) のほか、一覧の番号 (1 が最新) も受け付けます。
--verify は控えのファイルを記録と照合し、違いがあれば 0 以外で終わります。壊れた申請履歴は --repair で修復します。
どのコマンドも --station-db データベース で駅名情報データベースを指定できます。
stations correct で訂正した駅名は利用者のデータフォルダーに残り、どのデータベースよりも先に使われます。
)";

struct Command {
    QSet<QString> options;
    QSet<QString> flags;
    std::function<int(const CommandLine&, CliContext&)> run;
};

int Usage(const QString& reason = QString())
{
    if (!reason.isEmpty())
        Console::Err(QStringLiteral("fenwir-cli: %1\n").arg(reason));
    Console::Err(QString::fromUtf8(kUsage));
    return Console::kUsage;
}

// Qt's own diagnostics are not for the user of a command line.
void QuietQt(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        Console::Err(message + QLatin1Char('\n'));
}
} // namespace

int main(int argc, char** argv)
{
    // Qt's PDF writer lists a file's fonts in hash order: a fixed seed makes
    // an archived application's PDF the same bytes every time.
    QHashSeed::setDeterministicGlobalSeed();
    const ConsoleSession console;
    if (qEnvironmentVariableIsEmpty("FENWIR_QT_DEBUG"))
        qInstallMessageHandler(QuietQt);
    // Fonts for the PDF without needing a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setOrganizationName(QStringLiteral("Norkel"));
    QGuiApplication::setApplicationName(QStringLiteral("Fenwir_Lite"));

    const QString db = QStringLiteral("--station-db");
    const QString month = QStringLiteral("--month");
    const QString from = QStringLiteral("--from");
    const QString to = QStringLiteral("--to");
    const QHash<QString, Command> commands = {
        {QStringLiteral("read"),
         {{db, QStringLiteral("--reader"), QStringLiteral("--polling-time")},
          {QStringLiteral("--json"), QStringLiteral("--other-card")},
          CardCommands::Read}},
        {QStringLiteral("import-dump"),
         {{db},
          {QStringLiteral("--json"), QStringLiteral("--other-card")},
          CardCommands::ImportDump}},
        {QStringLiteral("show"),
         {{db, month, from, to}, {QStringLiteral("--json")}, DocumentCommands::Show}},
        {QStringLiteral("csv"),
         {{db, QStringLiteral("--items"), QStringLiteral("--profile"), QStringLiteral("--encoding"),
           month, from, to},
          {QStringLiteral("--apply-only"), QStringLiteral("--no-header"),
           QStringLiteral("--show-card-id")},
          DocumentCommands::Csv}},
        {QStringLiteral("print"),
         {{db, QStringLiteral("--pdf"), QStringLiteral("--layout"), month, from, to},
          {QStringLiteral("--record"), QStringLiteral("--reclaim")},
          DocumentCommands::Print}},
        {QStringLiteral("applications"),
         {{db, QStringLiteral("--cancel"), QStringLiteral("--reason"), QStringLiteral("--export"),
           month, from, to, QStringLiteral("--min"), QStringLiteral("--max"),
           QStringLiteral("--text")},
          {QStringLiteral("--json"), QStringLiteral("--repair"), QStringLiteral("--verify")},
          ApplicationCommands::Applications}},
        {QStringLiteral("stations"),
         {{db}, {QStringLiteral("--bus"), QStringLiteral("--remove")}, StationCommands::Run}},
        {QStringLiteral("demo"), {{db, QStringLiteral("--out")}, {}, CardCommands::Demo}},
        {QStringLiteral("readers"), {{db}, {}, ReaderCommands::Readers}},
    };

    QStringList args = app.arguments().mid(1);
    // Options every command takes may also come before the command word.
    QStringList global;
    while (!args.isEmpty() && (args[0] == db || args[0].startsWith(db + QLatin1Char('=')))) {
        global << args.takeFirst();
        if (!global.last().contains(QLatin1Char('=')) && !args.isEmpty())
            global << args.takeFirst();
    }
    if (!global.isEmpty() && !args.isEmpty())
        args = QStringList{args[0]} + global + args.mid(1);
    else if (!global.isEmpty())
        return Usage(QStringLiteral("コマンドがありません。"));
    if (args.value(0) == QLatin1String("--version")) {
        Console::Out(QStringLiteral("fenwir-cli %1\n").arg(GetProductVersion()));
        return Console::kOk;
    }
    if (args.isEmpty() || args[0] == QLatin1String("--help") || args[0] == QLatin1String("help")) {
        Console::Out(QString::fromUtf8(kUsage));
        return args.isEmpty() ? Console::kUsage : Console::kOk;
    }
    const auto command = commands.constFind(args[0]);
    if (command == commands.constEnd())
        return Usage(QStringLiteral("不明なコマンドです: %1").arg(args[0]));
    const CommandLine line(args.mid(1), command->options, command->flags);
    if (!line.IsValid())
        return Usage(line.Error());
    // Building a station database needs none of the user's settings.
    const bool import = args[0] == QLatin1String("stations") &&
                        line.Positionals().value(0) == QLatin1String("import");
    CliContext context(line, !import);
    const int status = command->run(line, context);
    if (status == Console::kUsage)
        return Usage(QStringLiteral("%1 の引数が正しくありません。").arg(args[0]));
    return status;
}
