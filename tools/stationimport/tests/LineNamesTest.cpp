#include "LineNames.h"

#include "StationListImport.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <tuple>

TEST(LineNames, RulesAndExceptions)
{
    struct Case {
        const char* company;
        const char* line;
        const char* known;
    };
    const Case cases[] = {
        // Cut short.
        {"東日本旅客鉄道", "東海道本", "東海道本線"},
        {"東日本旅客鉄道", "中央本", "中央本線"},
        {"東日本旅客鉄道", "山手", "山手線"},
        {"東海旅客鉄道", "東海道新幹", "東海道新幹線"},
        {"名古屋鉄道", "知多新", "知多新線"},
        {"近畿日本鉄道", "京都・橿原", "京都・橿原線"},
        {"どこかの会社", "中央", "中央線"},
        // Numbered.
        {"東京地下鉄", "4号線丸ノ内", "丸ノ内線"},
        {"東京地下鉄", "3号線銀座", "銀座線"},
        {"東京都交通局", "12号線大江戸", "大江戸線"},
        {"どこかの会社", "１２号線大江戸", "大江戸線"},
        {"大阪市交通局", "1号", "御堂筋線"},
        {"横浜市交通局", "4号", "グリーンライン"},
        // Exceptions, which belong to their company.
        {"ゆりかもめ", "東京臨海新交通臨海", "ゆりかもめ"},
        {"京成電鉄", "本", "京成本線"},
        {"阪神電気鉄道", "本", "阪神本線"},
        {"どこかの会社", "本", "本線"},
        {"北海道旅客鉄道", "札沼  学園都市線", "札沼線"},
        {"東日本旅客鉄道", "モバイルSuica", "モバイルSuica"},
        // Whole already, or nothing to name.
        {"東日本旅客鉄道", "常磐線", "常磐線"},
        {"しなの鉄道", "しなの鉄道", "しなの鉄道"},
        {"江ノ島電鉄", "江ノ島電鉄", "江ノ島電鉄"},
        {"首都圏新都市鉄道", "つくばエクスプレス", "つくばエクスプレス"},
        {"東京都交通局", "日暮里・舎人ライナー", "日暮里・舎人ライナー"},
        {"近畿日本鉄道", "生駒ケーブル", "生駒ケーブル"},
        {"西日本旅客鉄道", "宮島航路", "宮島航路"},
        {"どこかの会社", "2号線", "2号線"},
        {"どこかの会社", "第2号線中央", "第2号線中央線"},
        {"どこかの会社", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LineNames::Known(QString::fromUtf8(c.company), QString::fromUtf8(c.line)),
                  QString::fromUtf8(c.known))
            << c.company << " " << c.line;
}

namespace
{
using Key = std::tuple<QString, QString, QString>; // area or "bus", line, station

// The shipped list's names by their codes: rail station and line, or bus stop and line.
std::map<Key, QStringList> ListedNames(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    std::map<Key, QStringList> names;
    const QStringList rows = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (qsizetype i = 1; i < rows.size(); ++i) {
        const QStringList cells = rows[i].trimmed().split(QLatin1Char(','));
        if (cells.size() >= 6)
            names[{cells[0], cells[1], cells[2]}] = {cells[5].trimmed(), cells[4].trimmed()};
    }
    return names;
}

std::map<Key, QStringList> StoredNames(const QString& database)
{
    std::map<Key, QStringList> names;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "line-names");
        db.setDatabaseName(database);
        db.open();
        QSqlQuery q(db);
        q.exec("SELECT AreaCode, LineCode, StationCode, StationName, LineName FROM StationCode");
        while (q.next())
            names[{q.value(0).toString(), q.value(1).toString(), q.value(2).toString()}] = {
                q.value(3).toString(), q.value(4).toString()};
        q.exec("SELECT BusLineCode, BusStationCode, BusStationName, BusLineName FROM BusCode");
        while (q.next())
            names[{"bus", q.value(0).toString(), q.value(1).toString()}] = {q.value(2).toString(),
                                                                            q.value(3).toString()};
    }
    QSqlDatabase::removeDatabase("line-names");
    return names;
}

// A whole name ends as a line's, an operator's or a system's name does, or
// is one of the reviewed names that end otherwise.
bool EndsWhole(const QString& name)
{
    static const QRegularExpression whole(
        "(線|鉄道|鐵道|電鉄|ライン|ライナー|モノレール|ケーブル|航路|エクスプレス)$");
    const QStringList reviewed = {"ゆりかもめ",   "リニモ",        "ニューシャトル",
                                  "ニュートラム", "モバイルSuica", "Suicaインターネットサービス",
                                  "試験",         "本局",          "共通"};
    return whole.match(name).hasMatch() || reviewed.contains(name);
}
} // namespace

TEST(LineNames, EveryLineOfTheShippedListEndsWholeWithoutNumbers)
{
    const QString list = QStringLiteral(FENWIR_SOURCE_DIR "/res/stations.csv");
    QTemporaryDir dir;
    const QString database = dir.filePath("stations.sqlite");
    QString error;
    ASSERT_TRUE(StationListImport::Run(list, database, &error)) << error.toStdString();
    const std::map<Key, QStringList> listed = ListedNames(list);
    const std::map<Key, QStringList> stored = StoredNames(database);
    ASSERT_EQ(stored.size(), listed.size());
    const QRegularExpression numbered("[0-9０-９]+号");
    for (const auto& [key, names] : stored) {
        const auto& [area, line, station] = key;
        const QString where = area + " " + line + " " + station;
        const QStringList& before = listed.at(key);
        EXPECT_EQ(names[0], before[0]) << where.toStdString(); // stations and stops unchanged
        if (area == "bus") {
            EXPECT_EQ(names[1], before[1]) << where.toStdString();
            continue;
        }
        EXPECT_TRUE(EndsWhole(names[1])) << where.toStdString() << " " << names[1].toStdString();
        EXPECT_FALSE(numbered.match(names[1]).hasMatch())
            << where.toStdString() << " " << names[1].toStdString();
    }
}
