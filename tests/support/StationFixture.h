#pragma once

#include <QString>

// A small station database in the program's schema, written by the test:
//   area 0 line 1: 16 東京 (35.0/139.0), 32 新宿 (35.0/139.1), 48 品川 (35.1/139.0)
//   area 0 line 2 station 5: a null station name
//   area 0 line 3 station 48: two rows, 大崎 first
//   area 0 line 4 station 18: a company without a Company row
//   area 3 line 1 station 16: 博多 (another area, same codes)
//   bus 291/69 市役所前, bus 5/5 共通, bus -1/3 負号
class StationFixture
{
public:
    explicit StationFixture(const QString& path);
    QString Path() const { return m_path; }
    // The program's connection-string form pointing at the file.
    QString ConnectString() const;

    // The full test database shipped beside the project, or empty when missing.
    static QString SharedDatabase();

private:
    QString m_path;
};
