#include "StationListImport.h"

#include "LineNames.h"
#include "ShiftJis.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringDecoder>
#include <optional>

namespace
{
QStringList SplitCsv(const QString& row)
{
    QStringList cells;
    QString cell;
    bool quoted = false;
    for (qsizetype i = 0; i < row.size(); ++i) {
        const QChar c = row[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < row.size() && row[i + 1] == QLatin1Char('"'))
                cell += c, ++i;
            else if (c == QLatin1Char('"'))
                quoted = false;
            else
                cell += c;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            cells << cell.trimmed();
            cell.clear();
        } else {
            cell += c;
        }
    }
    cells << cell.trimmed();
    return cells;
}

// Whether a code cell is written in hex: a 0x prefix or a hex letter.
bool LooksHex(const QString& text)
{
    return text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ||
           text.contains(QRegularExpression(QStringLiteral("[A-Fa-f]")));
}

std::optional<qint64> Code(const QString& text, bool hex)
{
    bool ok = false;
    const bool prefixed = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
    const qint64 value =
        hex ? (prefixed ? text.mid(2) : text).toLongLong(&ok, 16) : text.toLongLong(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

// A data row: its line number, its cells, and whether it names a bus stop.
struct Row {
    qsizetype number = 0;
    QStringList cells;
    bool bus = false;

    int First() const { return bus ? 1 : 0; }
    int CodeCount() const { return bus ? 2 : 3; }
};

// A code column is hex as a whole when any of its cells looks hex, so "25"
// in a hex list is 0x25; rail and bus rows have columns of their own.
struct HexColumns {
    bool rail[3] = {false, false, false};
    bool bus[2] = {false, false};

    bool At(const Row& row, int c) const { return row.bus ? bus[c] : rail[c]; }
    void See(const Row& row)
    {
        for (int c = 0; c < row.CodeCount(); ++c)
            if (LooksHex(row.cells.value(row.First() + c)))
                (row.bus ? bus[c] : rail[c]) = true;
    }
};

QString DecodeText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = DecodeShiftJis(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

const char* const kSchema[] = {
    "CREATE TABLE Company (Code INTEGER NOT NULL, Abbreviation TEXT)",
    "CREATE TABLE StationCode (AreaCode INTEGER NOT NULL, LineCode INTEGER NOT NULL, "
    "StationCode INTEGER NOT NULL, StationName TEXT, LineName TEXT, CompanyCode INTEGER, "
    "Latitude REAL, Longitude REAL, Number INTEGER)",
    "CREATE TABLE BusCode (BusLineCode INTEGER NOT NULL, BusStationCode INTEGER NOT NULL, "
    "BusStationName TEXT, BusLineName TEXT, BusCompanyName TEXT, Number INTEGER)",
    "CREATE INDEX StationKey ON StationCode (AreaCode, LineCode, StationCode)",
    "CREATE INDEX BusKey ON BusCode (BusLineCode, BusStationCode)",
};

class Writer
{
public:
    explicit Writer(const QString& path)
        : m_name(QStringLiteral("station-import-%1").arg(reinterpret_cast<quintptr>(this)))
    {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        m_db.setDatabaseName(path);
    }
    ~Writer()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }

    bool Open(QString* error)
    {
        if (!m_db.open() || !m_db.transaction())
            return Fail(error, m_db.lastError().text());
        QSqlQuery q(m_db);
        for (const char* sql : kSchema)
            if (!q.exec(QString::fromLatin1(sql)))
                return Fail(error, q.lastError().text());
        return true;
    }

    bool Station(qint64 area, qint64 line, qint64 station, const QString& company,
                 const QString& lineName, const QString& name, QVariant latitude,
                 QVariant longitude, QString* error)
    {
        QSqlQuery q(m_db);
        q.prepare(QStringLiteral("INSERT INTO StationCode VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        for (const QVariant& v :
             {QVariant(area), QVariant(line), QVariant(station), QVariant(name), QVariant(lineName),
              QVariant(CompanyCode(company)), latitude, longitude, QVariant(++m_number)})
            q.addBindValue(v);
        return q.exec() || Fail(error, q.lastError().text());
    }

    bool Bus(qint64 line, qint64 stop, const QString& company, const QString& lineName,
             const QString& name, QString* error)
    {
        QSqlQuery q(m_db);
        q.prepare(QStringLiteral("INSERT INTO BusCode VALUES (?, ?, ?, ?, ?, ?)"));
        for (const QVariant& v : {QVariant(line), QVariant(stop), QVariant(name),
                                  QVariant(lineName), QVariant(company), QVariant(++m_number)})
            q.addBindValue(v);
        return q.exec() || Fail(error, q.lastError().text());
    }

    bool Finish(QString* error)
    {
        QSqlQuery q(m_db);
        q.prepare(QStringLiteral("INSERT INTO Company VALUES (?, ?)"));
        for (auto it = m_companies.constBegin(); it != m_companies.constEnd(); ++it) {
            q.addBindValue(it.value());
            q.addBindValue(it.key());
            if (!q.exec())
                return Fail(error, q.lastError().text());
        }
        return m_db.commit() || Fail(error, m_db.lastError().text());
    }

private:
    int CompanyCode(const QString& company)
    {
        auto it = m_companies.find(company);
        if (it == m_companies.end())
            it = m_companies.insert(company, static_cast<int>(m_companies.size()) + 1);
        return it.value();
    }

    static bool Fail(QString* error, const QString& why)
    {
        if (error)
            *error = why;
        return false;
    }

    QString m_name;
    QSqlDatabase m_db;
    QHash<QString, int> m_companies;
    int m_number = 0;
};
} // namespace

bool StationListImport::Run(const QString& csvPath, const QString& outPath, QString* error,
                            int* stations, int* busStops)
{
    QString ignored;
    QString& why = error ? *error : ignored;
    QFile csv(csvPath);
    if (!csv.open(QIODevice::ReadOnly)) {
        why = QStringLiteral("%1: %2").arg(csvPath, csv.errorString());
        return false;
    }
    const QStringList lines = DecodeText(csv.readAll()).split(QLatin1Char('\n'));
    std::vector<Row> rows;
    HexColumns hex;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        Row row{i + 1, SplitCsv(line), false};
        row.bus = row.cells.value(0).compare(QLatin1String("bus"), Qt::CaseInsensitive) == 0;
        // A first rail row whose codes are no numbers at all is a header.
        if (rows.empty() && !row.bus) {
            bool numbers = true;
            for (int c = 0; c < 3; ++c)
                numbers = numbers && Code(row.cells.value(c), LooksHex(row.cells.value(c)));
            if (!numbers)
                continue;
        }
        hex.See(row);
        rows.push_back(std::move(row));
    }
    const QString temporary = outPath + QStringLiteral(".part");
    QFile::remove(temporary);
    int railCount = 0;
    int busCount = 0;
    bool ok = true;
    {
        Writer writer(temporary);
        ok = writer.Open(&why);
        for (std::size_t r = 0; ok && r < rows.size(); ++r) {
            const Row& row = rows[r];
            const QStringList& cells = row.cells;
            const auto lineError = [&](const QString& what) {
                why = QStringLiteral("%1:%2: %3").arg(csvPath).arg(row.number).arg(what);
                return false;
            };
            const bool bus = row.bus;
            const int first = row.First();
            const int codeCount = row.CodeCount();
            std::vector<qint64> codes;
            for (int c = 0; c < codeCount; ++c)
                if (const auto code = Code(cells.value(first + c), hex.At(row, c)))
                    codes.push_back(*code);
            if (static_cast<int>(codes.size()) != codeCount) {
                ok = lineError(QStringLiteral("コードが数値ではありません。"));
                break;
            }
            if (cells.size() < first + codeCount + 3) {
                ok = lineError(QStringLiteral("会社名、路線名、駅名が必要です。"));
                break;
            }
            const QString company = cells[first + codeCount];
            const QString lineName = cells[first + codeCount + 1];
            const QString name = cells[first + codeCount + 2];
            if (bus) {
                ok = writer.Bus(codes[0], codes[1], company, lineName, name, &why);
                ++busCount;
                continue;
            }
            if (codes[0] < 0 || codes[0] > 3 || codes[1] < 0 || codes[1] > 255 || codes[2] < 0 ||
                codes[2] > 255) {
                ok =
                    lineError(QStringLiteral("エリアは0〜3、路線と駅は0〜255で指定してください。"));
                break;
            }
            QVariant latitude, longitude;
            if (cells.size() >= 8 && !cells[6].isEmpty() && !cells[7].isEmpty()) {
                bool okLat = false, okLon = false;
                latitude = cells[6].toDouble(&okLat);
                longitude = cells[7].toDouble(&okLon);
                if (!okLat || !okLon) {
                    ok = lineError(QStringLiteral("緯度と経度が数値ではありません。"));
                    break;
                }
            }
            ok = writer.Station(codes[0], codes[1], codes[2], company,
                                LineNames::Known(company, lineName), name, latitude, longitude,
                                &why);
            ++railCount;
        }
        ok = ok && writer.Finish(&why);
    }
    if (!ok) {
        QFile::remove(temporary);
        return false;
    }
    QFile::remove(outPath);
    if (!QFile::rename(temporary, outPath)) {
        QFile::remove(temporary);
        why = QStringLiteral("%1 に書き込めませんでした。").arg(outPath);
        return false;
    }
    if (stations)
        *stations = railCount;
    if (busStops)
        *busStops = busCount;
    return true;
}
