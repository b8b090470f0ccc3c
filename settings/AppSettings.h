#pragma once

#include "CardIdGroups.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

class QSettings;

// The program's one settings record. Loaded once at start, saved once at exit;
// the fields keep the names of their stored values.
class AppSettings
{
public:
    QString PostName;
    QString IdNumber;
    QString Name;
    QString ConnectStringMdb;
    QString ListControlWidth;
    QString DefaultPath;
    QString EntryPath;
    QString FormatPath;
    QString FormatFilePath;
    QString TransitURL;
    QString WavCardReadOK;
    int AutoLoad = 0;
    int AutoSave = 0;
    int ItemModify = 1;
    int ListGridView = 1;
    int ListZebraView = 0;
    int Admin = 0;
    int MRUMax = 3;
    int VisMaxCount = 5;
    int PollingTime = 5;
    int AppLook = 32801;
    QStringList VisHistry;
    QStringList VisStation;
    QString CsvSavePath;
    QString CsvOutputItem;
    int CsvApplyOnly = 0;
    int CsvOutputHeader = 1;
    // Which layout a CSV export writes, and in which encoding (a code page
    // number, as the other platform names them).
    int CsvProfile = kCsvColumns;
    int CsvEncoding = kCsvShiftJis;
    // The card history layout writes the card's IDm whole instead of masked.
    int CsvShowCardId = 0;
    // Names the user gave cards: "<IDm as hex>=<name>" each; a card read
    // under several IDs has its name under each of them.
    QStringList CardNames;
    // The IDs of each card read under several (see CardIdGroups).
    QStringList CardIds;
    // Password of the station database; fixed, never stored.
    QString dbPassword;

    // The user's own store: organisation "Norkel", application "Fenwir_Lite".
    void Load();
    void Save() const;
    // That store, for whatever else the program keeps per user (window layout,
    // recent files).
    static std::unique_ptr<QSettings> OpenUserStore();
    // Any store, under its group "Settings/Profile". Missing or unusable values
    // take their defaults, silently.
    void Load(QSettings& store);
    void Save(QSettings& store) const;

    // Appends the column numbers of CsvOutputItem; returns the list's new length.
    int GetCsvOutputItems(std::vector<std::uint16_t>& items) const;
    // Puts a visit destination with its exit station at the front of the history.
    void AddVisit(const QString& visit, const QString& station);
    // The most recent visit destination recorded with this station, or empty.
    QString FindVisitByStation(const QString& station) const;

    // The name given to the card with this IDm (hex digits; the first byte
    // aside, as readers differ on it), under any of its IDs, or empty.
    QString CardNameOf(const QString& idmHex) const;
    // Names a card under every ID it is known by; an empty name forgets it.
    void SetCardName(const QString& idmHex, const QString& name);
    // These IDs are one card: it keeps one name (the first it had).
    void LinkCardIds(const QStringList& idmHexes);
    CardIdGroups CardGroups() const { return CardIdGroups(CardIds); }

    // "Driver=...;DBQ=<module folder>/FenwirStn.mdb;PageTimeout=5;"
    static QString BuiltInConnectString();
    // The same form for any database file.
    static QString ConnectStringFor(const QString& databasePath);
    static QString DefaultTransitUrl();
    static constexpr const char* kDbPassword = "5d0f7a2c9e13b846";
    static constexpr int kMaxRecentFiles = 16;
    // CsvProfile: the chosen columns, or the card history of transit-card tools.
    static constexpr int kCsvColumns = 0;
    static constexpr int kCsvHistory = 1;
    // CsvEncoding: Shift-JIS (CP932), or UTF-8 with a byte-order mark.
    static constexpr int kCsvShiftJis = 932;
    static constexpr int kCsvUtf8 = 65001;

private:
    void RemoveVisitAt(qsizetype position);
};
