#pragma once

#include <QString>

// Reads a station list in the common community CSV form and writes a station
// database (SQLite, tables StationCode, Company, BusCode) that the program
// can name stations from.
//
// Rail rows: area, line, station, company, line name, station name
//            [, latitude, longitude]
// Bus rows:  "bus", bus line, bus stop, company, line name, stop name
// Codes are decimal, or hex: a code column that holds a 0x prefix or a hex
// letter anywhere is hex in every row (rail and bus columns apart). A first
// row whose codes are not numbers is taken as a header. The text is UTF-8, or
// Shift-JIS when it is not valid UTF-8. Quoted cells ("a,b") are allowed.
// Rail line names are written as users know them (LineNames); station, stop
// and bus line names as the list has them.
class StationListImport
{
public:
    // Writes a new database at outPath (replacing one there only on success).
    // On failure returns false and says why, naming the line.
    static bool Run(const QString& csvPath, const QString& outPath, QString* error,
                    int* stations = nullptr, int* busStops = nullptr);
};
