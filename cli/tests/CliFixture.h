#pragma once

#include "EntryList.h"
#include "StationFixture.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// What one run of fenwir-cli left.
struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

// A dump of n rail records on 2026-11-02 between stations 1-16 and 1-32,
// newest first, balances rising by 200 towards the oldest.
QString Dump(int records);
// A dump of the card with this UID ("01 14 02 12 3A 4B 5C 6D") holding rail
// records (sequence number, balance), newest first, on 2026-11-02.
QString Dump(const QString& uid, const std::vector<std::pair<int, int>>& records);
// Records newest..oldest of one card, for Dump: each trip costs 200 yen, so
// record s always holds the balance 10000 - 200 s.
std::vector<std::pair<int, int>> CardRecords(int newest, int oldest);

// A claim of trips by hand on the given days of November 2026, 300 yen
// each, all ticked, to `visit` when one is given.
QByteArray Claim(std::initializer_list<int> days, const QString& visit = QString());

// fenwir-cli run as scripts run it, each test with a home folder of its own:
// its settings, documents and application history.
class CliTest : public ::testing::Test
{
protected:
    // usbSocket names the USB seam's emulator; fileSizeLimit, when not 0,
    // is the most any file the run writes may hold (a disk that is full).
    CliRun Cli(const QStringList& args, const QString& usbSocket = QString(),
               qint64 fileSizeLimit = 0);
    // Whether Cli's fileSizeLimit can be had here (not on Windows).
    static bool CanLimitFileSize();
    // fenwir-cli started and left running, with variables added to its
    // environment, in a folder of its own when given; Finish waits for it to
    // end (a run that does not end is killed and has status -1).
    std::unique_ptr<QProcess> Start(const QStringList& args, const QProcessEnvironment& added = {},
                                    const QString& workingFolder = QString());
    static CliRun Finish(QProcess& process);
    // Waits for a file to appear; false when it has not after a generous while.
    static bool WaitForFile(const QString& path);

    QString File(const QString& name, const QByteArray& content);
    QByteArray Bytes(const QString& path) const;
    QString Db() const { return fixture.Path(); }
    QString Home() const { return dir.filePath("home"); }
    QString HistoryFolder() const { return Home() + "/Documents/Fenwir Lite/ApplyHistory"; }
    EntryList ReadDocument(const QString& path);

    QTemporaryDir dir;
    StationFixture fixture{dir.filePath("stations.sqlite")};
};
