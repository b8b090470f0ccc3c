#include "CliFixture.h"

#include "ArchiveReader.h"
#include "ArchiveWriter.h"
#include "ChildProcess.h"
#include "LocalTime.h"

#include <QFile>
#include <QProcess>
#include <QTest>

QString Dump(const QString& uid, const std::vector<std::pair<int, int>>& records)
{
    QString text = QStringLiteral("UID: %1\n").arg(uid);
    for (std::size_t n = 0; n < records.size(); ++n) {
        const auto [serial, balance] = records[n];
        text += QStringLiteral("Block %1: | Service code 090F | Block index %2 | Data: 16 01 00 00 "
                               "35 62 01 %3 01 %4 %5 %6 00 %7 %8 00 |\n")
                    .arg(n + 1, 4, 10, QChar('0'))
                    .arg(n, 2, 10, QChar('0'))
                    .arg(serial % 2 ? "10" : "20", serial % 2 ? "20" : "10")
                    .arg(balance & 0xFF, 2, 16, QChar('0'))
                    .arg(balance >> 8, 2, 16, QChar('0'))
                    .arg(serial >> 8, 2, 16, QChar('0'))
                    .arg(serial & 0xFF, 2, 16, QChar('0'));
    }
    return text;
}

std::vector<std::pair<int, int>> CardRecords(int newest, int oldest)
{
    std::vector<std::pair<int, int>> records;
    for (int serial = newest; serial >= oldest; --serial)
        records.emplace_back(serial, 10000 - 200 * serial);
    return records;
}

QString Dump(int records)
{
    QString text = QStringLiteral("UID: 01 14 02 12 3A 4B 5C 6D\n");
    for (int n = 0; n < records; ++n) {
        const int balance = 1000 + 200 * n;
        text += QStringLiteral("Block %1: | Service code 090F | Block index %2 | Data: 16 01 00 00 "
                               "35 62 01 %3 01 %4 %5 %6 00 00 %7 00 |\n")
                    .arg(n + 1, 4, 10, QChar('0'))
                    .arg(n, 2, 10, QChar('0'))
                    .arg(n % 2 ? "20" : "10", n % 2 ? "10" : "20")
                    .arg(balance & 0xFF, 2, 16, QChar('0'))
                    .arg(balance >> 8, 2, 16, QChar('0'))
                    .arg(records - n, 2, 16, QChar('0'));
    }
    return text;
}

QByteArray Claim(std::initializer_list<int> days, const QString& visit)
{
    EntryList list;
    for (const int day : days) {
        auto line = std::make_unique<EntryInfo>(
            EntryInfo::ManualLine(*LocalToTimestamp(2026, 11, day, 9, 0, 0)));
        line->fare = 300;
        line->applyFlag = 1;
        line->entryStationName = QStringLiteral("品川");
        line->exitStationName = QStringLiteral("大崎");
        line->visitDestination = visit;
        list.lines.push_back(std::move(line));
    }
    ArchiveWriter out;
    list.Write(out, EntryList::Document);
    return out.Data();
}

bool CliTest::CanLimitFileSize()
{
    QProcess process;
    return ChildProcess::LimitFileSize(process, 1);
}

CliRun CliTest::Cli(const QStringList& args, const QString& usbSocket, qint64 fileSizeLimit)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!usbSocket.isEmpty())
        environment.insert(QStringLiteral("FENWIR_USB_SOCKET"), usbSocket);
    process.setProcessEnvironment(environment);
    ChildProcess::GiveOwnHome(process, Home());
    if (fileSizeLimit > 0 && !ChildProcess::LimitFileSize(process, fileSizeLimit))
        ADD_FAILURE() << "this system cannot limit a file's size";
    process.start(QStringLiteral(FENWIR_CLI), args);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

std::unique_ptr<QProcess> CliTest::Start(const QStringList& args, const QProcessEnvironment& added,
                                         const QString& workingFolder)
{
    auto process = std::make_unique<QProcess>();
    if (!workingFolder.isEmpty())
        process->setWorkingDirectory(workingFolder);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(added);
    process->setProcessEnvironment(environment);
    ChildProcess::GiveOwnHome(*process, Home());
    process->start(QStringLiteral(FENWIR_CLI), args);
    return process;
}

CliRun CliTest::Finish(QProcess& process)
{
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

bool CliTest::WaitForFile(const QString& path)
{
    return QTest::qWaitFor([&] { return QFile::exists(path); }, 30000);
}

QString CliTest::File(const QString& name, const QByteArray& content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    return path;
}

QByteArray CliTest::Bytes(const QString& path) const
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

EntryList CliTest::ReadDocument(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    EntryList list;
    ArchiveReader in(file.readAll());
    list.Read(in);
    return list;
}
