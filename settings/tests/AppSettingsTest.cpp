#include "AppSettings.h"

#include "ArchiveWriter.h"
#include "Folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
class AppSettingsTest : public ::testing::Test
{
protected:
    QSettings Store() { return QSettings(m_dir.filePath("settings.ini"), QSettings::IniFormat); }

    void Put(const char* name, const QVariant& value)
    {
        QSettings store = Store();
        store.setValue(QStringLiteral("Settings/Profile/") + name, value);
    }

    AppSettings Loaded()
    {
        QSettings store = Store();
        AppSettings settings;
        settings.Load(store);
        return settings;
    }

    static QByteArray List(const QStringList& list)
    {
        ArchiveWriter w;
        w.WriteStringList(list);
        return w.Data();
    }

    QTemporaryDir m_dir;
};
} // namespace

TEST_F(AppSettingsTest, FirstRunDefaults)
{
    const AppSettings s = Loaded();
    EXPECT_EQ(s.MRUMax, 3);
    EXPECT_EQ(s.PollingTime, 5);
    EXPECT_EQ(s.VisMaxCount, 5);
    EXPECT_EQ(s.ListGridView, 1);
    EXPECT_EQ(s.ListZebraView, 0);
    EXPECT_EQ(s.CsvOutputHeader, 1);
    EXPECT_EQ(s.CsvApplyOnly, 0);
    EXPECT_EQ(s.CsvProfile, AppSettings::kCsvColumns);
    EXPECT_EQ(s.CsvEncoding, AppSettings::kCsvShiftJis);
    EXPECT_EQ(s.CsvShowCardId, 0);
    EXPECT_EQ(s.AppLook, 32801);
    EXPECT_EQ(s.ItemModify, 1);
    EXPECT_EQ(s.AutoLoad, 0);
    EXPECT_EQ(s.AutoSave, 0);
    EXPECT_EQ(s.CsvOutputItem, "2,5,8,9,11,12");
    EXPECT_TRUE(s.VisHistry.isEmpty());
    EXPECT_TRUE(s.VisStation.isEmpty());
    EXPECT_TRUE(s.PostName.isEmpty());
    EXPECT_TRUE(s.WavCardReadOK.isEmpty());
    for (const QString& folder : {s.DefaultPath, s.EntryPath, s.FormatPath, s.CsvSavePath}) {
        EXPECT_EQ(folder, GetDocumentsFolder());
        EXPECT_TRUE(QFileInfo(folder).isDir());
    }
    EXPECT_EQ(s.FormatFilePath, JoinPath(GetDataFolder(), "Default.fmt"));
    EXPECT_EQ(s.ConnectStringMdb, AppSettings::BuiltInConnectString());
    EXPECT_TRUE(s.ConnectStringMdb.contains(GetModuleFolder() + "/FenwirStn.mdb;"));
    EXPECT_TRUE(s.TransitURL.contains("saddr=入場駅&daddr=出場駅&ttype=dep&date=日付&time=時刻"));
    EXPECT_EQ(s.dbPassword, "5d0f7a2c9e13b846");
}

TEST_F(AppSettingsTest, SaveWritesEveryValueWithoutPassword)
{
    {
        QSettings store = Store();
        Loaded().Save(store);
    }
    QSettings store = Store();
    store.beginGroup("Settings/Profile");
    EXPECT_EQ(store.childKeys().size(), 32);
    EXPECT_FALSE(store.contains("dbPassword"));
    EXPECT_EQ(store.value("VisHistry").typeId(), QMetaType::QByteArray);
}

TEST_F(AppSettingsTest, EveryValueRoundTrips)
{
    AppSettings s = Loaded();
    s.PostName = "営業部";
    s.IdNumber = "A-1024";
    s.Name = "山田 花子";
    s.ListControlWidth = "40,80,120";
    s.DefaultPath = "/tmp/d";
    s.EntryPath = "/tmp/e";
    s.FormatPath = "/tmp/f";
    s.FormatFilePath = "/tmp/f/a.fmt";
    s.TransitURL = "https://example.invalid/?a=入場駅";
    s.WavCardReadOK = "/tmp/ok.wav";
    s.AutoLoad = 1;
    s.AutoSave = 1;
    s.ListGridView = 0;
    s.ListZebraView = 1;
    s.Admin = 7;
    s.MRUMax = 9;
    s.VisMaxCount = 12;
    s.PollingTime = -1;
    s.AppLook = 32796;
    s.VisHistry = {"本社", "支店"};
    s.VisStation = {"東京", ""};
    s.CsvSavePath = "/tmp/c";
    s.CsvOutputItem = "1,2,3";
    s.CsvApplyOnly = 1;
    s.CsvOutputHeader = 0;
    s.CsvProfile = AppSettings::kCsvHistory;
    s.CsvEncoding = AppSettings::kCsvUtf8;
    s.CsvShowCardId = 1;
    {
        QSettings store = Store();
        s.Save(store);
    }
    const AppSettings r = Loaded();
    EXPECT_EQ(r.PostName, s.PostName);
    EXPECT_EQ(r.IdNumber, s.IdNumber);
    EXPECT_EQ(r.Name, s.Name);
    EXPECT_EQ(r.ListControlWidth, s.ListControlWidth);
    EXPECT_EQ(r.DefaultPath, s.DefaultPath);
    EXPECT_EQ(r.EntryPath, s.EntryPath);
    EXPECT_EQ(r.FormatPath, s.FormatPath);
    EXPECT_EQ(r.FormatFilePath, s.FormatFilePath);
    EXPECT_EQ(r.TransitURL, s.TransitURL);
    EXPECT_EQ(r.WavCardReadOK, s.WavCardReadOK);
    EXPECT_EQ(r.AutoLoad, 1);
    EXPECT_EQ(r.AutoSave, 1);
    EXPECT_EQ(r.ListGridView, 0);
    EXPECT_EQ(r.ListZebraView, 1);
    EXPECT_EQ(r.Admin, 7);
    EXPECT_EQ(r.MRUMax, 9);
    EXPECT_EQ(r.VisMaxCount, 12);
    EXPECT_EQ(r.PollingTime, -1);
    EXPECT_EQ(r.AppLook, 32796);
    EXPECT_EQ(r.VisHistry, s.VisHistry);
    EXPECT_EQ(r.VisStation, s.VisStation);
    EXPECT_EQ(r.CsvSavePath, s.CsvSavePath);
    EXPECT_EQ(r.CsvOutputItem, s.CsvOutputItem);
    EXPECT_EQ(r.CsvApplyOnly, 1);
    EXPECT_EQ(r.CsvOutputHeader, 0);
    EXPECT_EQ(r.CsvProfile, AppSettings::kCsvHistory);
    EXPECT_EQ(r.CsvEncoding, AppSettings::kCsvUtf8);
    EXPECT_EQ(r.CsvShowCardId, 1);
}

TEST_F(AppSettingsTest, StoredValuesThatNeverTakeEffect)
{
    Put("MRUMax", 0);
    Put("ItemModify", 0);
    Put("ConnectStringMdb", "Driver=x;DBQ=/elsewhere/Other.mdb;");
    AppSettings s = Loaded();
    EXPECT_EQ(s.MRUMax, 3);
    EXPECT_EQ(s.ItemModify, 1);
    EXPECT_EQ(s.ConnectStringMdb, AppSettings::BuiltInConnectString());
    {
        QSettings store = Store();
        s.Save(store);
    }
    QSettings store = Store();
    EXPECT_EQ(store.value("Settings/Profile/ItemModify").toInt(), 1);
    EXPECT_EQ(store.value("Settings/Profile/ConnectStringMdb").toString(),
              AppSettings::BuiltInConnectString());
}

TEST_F(AppSettingsTest, UnknownCsvLayoutOrEncodingFallsBackToTheDefault)
{
    // A file from before these choices existed, or a hand-edited one.
    Put("CsvOutputHeader", 0);
    EXPECT_EQ(Loaded().CsvEncoding, AppSettings::kCsvShiftJis);
    EXPECT_EQ(Loaded().CsvOutputHeader, 0);
    Put("CsvEncoding", 1252);
    Put("CsvProfile", 7);
    EXPECT_EQ(Loaded().CsvEncoding, AppSettings::kCsvShiftJis);
    EXPECT_EQ(Loaded().CsvProfile, AppSettings::kCsvColumns);
    Put("CsvEncoding", "65001");
    EXPECT_EQ(Loaded().CsvEncoding, AppSettings::kCsvUtf8);
}

TEST_F(AppSettingsTest, RecentFileCountStaysWithinTheFrameworkLimit)
{
    Put("MRUMax", 40);
    EXPECT_EQ(Loaded().MRUMax, 16);
    Put("MRUMax", -2);
    EXPECT_EQ(Loaded().MRUMax, 3);
}

TEST_F(AppSettingsTest, UnusableValuesKeepTheirDefaults)
{
    Put("PollingTime", "abc");
    Put("AppLook", List({"x"}));
    Put("VisHistry", "not a list");
    Put("VisStation", QByteArray("\x05\x00\xFF\xFE", 4));
    Put("Name", List({"x"}));
    const AppSettings s = Loaded();
    EXPECT_EQ(s.PollingTime, 5);
    EXPECT_EQ(s.AppLook, 32801);
    EXPECT_TRUE(s.VisHistry.isEmpty());
    EXPECT_TRUE(s.VisStation.isEmpty());
    EXPECT_TRUE(s.Name.isEmpty());
}

TEST_F(AppSettingsTest, StationListFollowsTheDestinations)
{
    Put("VisHistry", List({"a", "b", "c", "d"}));
    AppSettings s = Loaded();
    EXPECT_EQ(s.VisStation, QStringList({"", "", "", ""}));
    EXPECT_EQ(s.FindVisitByStation("東京"), QString());

    Put("VisStation", List({"x", "y"}));
    EXPECT_EQ(Loaded().VisStation, QStringList({"x", "y", "", ""}));
    Put("VisStation", List({"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(Loaded().VisStation, QStringList({"1", "2", "3", "4"}));
}

TEST_F(AppSettingsTest, OnlyTheUsersOwnFileIsRead)
{
    // A company-wide file of the same organisation must not fill in values
    // the user's own file lacks.
    const QString stray = QDir::homePath() + "/.config/Norkel.conf";
    {
        QSettings org(stray, QSettings::IniFormat);
        org.setValue("Settings/Profile/CsvOutputItem", "9");
        org.setValue("Settings/Profile/DefaultPath", "/somewhere/else");
    }
    AppSettings s;
    s.Load();
    EXPECT_EQ(s.CsvOutputItem, "2,5,8,9,11,12");
    EXPECT_EQ(s.DefaultPath, GetDocumentsFolder());
    QFile::remove(stray);
}

TEST(AppSettingsCsv, OutputItems)
{
    const std::pair<const char*, std::vector<std::uint16_t>> cases[] = {
        {"2,5,8,9,11,12", {2, 5, 8, 9, 11, 12}},
        {",3,,7,", {3, 7}},
        {"a", {0}},
        {" 4x,-1", {4, 65535}},
        {"", {}},
    };
    for (const auto& [text, expected] : cases) {
        AppSettings s;
        s.CsvOutputItem = text;
        std::vector<std::uint16_t> items{99};
        EXPECT_EQ(s.GetCsvOutputItems(items), static_cast<int>(expected.size() + 1)) << text;
        items.erase(items.begin());
        EXPECT_EQ(items, expected) << text;
    }
}

TEST(AppSettingsVisits, AddAndFind)
{
    AppSettings s;
    s.AddVisit("", "X");
    EXPECT_TRUE(s.VisHistry.isEmpty());

    s.AddVisit("A", "X");
    EXPECT_EQ(s.VisHistry, QStringList({"A"}));
    EXPECT_EQ(s.VisStation, QStringList({"X"}));

    for (const char* visit : {"B", "C", "D", "E", "F", "G"})
        s.AddVisit(visit, QString("st") + visit);
    EXPECT_EQ(s.VisHistry, QStringList({"G", "F", "E", "D", "C"}));

    s.AddVisit("E", "新宿");
    EXPECT_EQ(s.VisHistry, QStringList({"E", "G", "F", "D", "C"}));
    EXPECT_EQ(s.VisStation, QStringList({"新宿", "stG", "stF", "stD", "stC"}));

    s.AddVisit("H", "新宿");
    EXPECT_EQ(s.FindVisitByStation("新宿"), "H");
    EXPECT_EQ(s.FindVisitByStation("stF"), "F");
    EXPECT_EQ(s.FindVisitByStation("nowhere"), QString());
    EXPECT_EQ(s.FindVisitByStation(""), QString());
}

TEST(AppSettingsVisits, LoweredLimitDropsTheEntryBeforeTheMovedOne)
{
    AppSettings s;
    s.VisMaxCount = 10;
    for (const char* visit : {"a", "b", "c", "d", "e", "f"})
        s.AddVisit(visit, "");
    s.VisMaxCount = 3;
    s.AddVisit("a", "st"); // old position 5 >= 3: the entry at 4 goes too
    EXPECT_EQ(s.VisHistry, QStringList({"a", "f", "e", "d", "c"}));
}

TEST(AppSettingsVisits, ZeroLimitKeepsTheNewestOnly)
{
    AppSettings s;
    s.VisMaxCount = 0;
    s.AddVisit("a", "");
    s.AddVisit("b", "");
    s.AddVisit("c", "");
    EXPECT_EQ(s.VisHistry, QStringList({"c"}));
}

// A card's name is found whatever the reader said of the ID's first byte.
TEST_F(AppSettingsTest, CardNames)
{
    AppSettings settings;
    settings.SetCardName("011402123A4B3906", QStringLiteral(" 通勤用 Suica "));
    settings.SetCardName("01140212AAAA0001", QStringLiteral("a=b"));
    EXPECT_EQ(settings.CardNameOf("031402123a4b3906"), QStringLiteral("通勤用 Suica"));
    EXPECT_EQ(settings.CardNameOf("01140212AAAA0001"), QStringLiteral("a=b"));
    EXPECT_EQ(settings.CardNameOf("0114"), QString());
    settings.SetCardName("011402123A4B3906", QString());
    EXPECT_EQ(settings.CardNameOf("011402123A4B3906"), QString());
    EXPECT_EQ(settings.CardNames.size(), 1);
}

// A card read under several IDs has one name, kept under each ID (earlier
// versions look a name up by the ID alone), and keeps it across a save.
TEST_F(AppSettingsTest, ACardUnderSeveralIdsHasOneName)
{
    AppSettings settings;
    settings.SetCardName("011402123A4B3906", QStringLiteral("通勤用 Suica"));
    settings.LinkCardIds({"011402123A4B3906", "012E4471089C1022"});
    settings.LinkCardIds({"0101AAAA00000001", "032E4471089C1022"});
    for (const char* id : {"011402123A4B3906", "012E4471089C1022", "0101AAAA00000001"})
        EXPECT_EQ(settings.CardNameOf(id), QStringLiteral("通勤用 Suica")) << id;
    EXPECT_EQ(settings.CardNames.size(), 3);
    EXPECT_EQ(settings.CardIds.size(), 1);
    settings.SetCardName("0101AAAA00000001", QStringLiteral("私用"));
    EXPECT_EQ(settings.CardNameOf("011402123A4B3906"), QStringLiteral("私用"));

    QSettings store = Store();
    settings.Save(store);
    AppSettings loaded;
    loaded.Load(store);
    EXPECT_EQ(loaded.CardGroups().IdsOf("012E4471089C1022"),
              (QStringList{"011402123A4B3906", "012E4471089C1022", "0101AAAA00000001"}));
    EXPECT_EQ(loaded.CardNameOf("012E4471089C1022"), QStringLiteral("私用"));
}
