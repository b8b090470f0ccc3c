#pragma once

#include <QString>

// The names of a station or bus stop: its own, its line's and its company's.
struct StationNames {
    QString station;
    QString line;
    QString company;

    // These names over the database's: the station's own always, the line
    // and company where given.
    StationNames Over(const StationNames& database) const
    {
        return {station, line.isEmpty() ? database.line : line,
                company.isEmpty() ? database.company : company};
    }

    bool operator==(const StationNames&) const = default;
};
