#pragma once

#include "StationCode.h"
#include "StationNames.h"

#include <QDialog>
#include <QString>
#include <array>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;

// "駅名の訂正": the user's own names for the stations of a line. Each place
// shows its code and the database's name (or 未登録) with fields for the
// names; it works on copies, and the caller keeps the result on OK.
class CStationCorrectDlg : public QDialog
{
    Q_OBJECT

public:
    struct Place {
        QString title; // "入場駅", "出場駅", "バス停"
        StationCode code;
        // The database's names ("未登録" when it has no row); none when the
        // database could not be asked.
        std::optional<StationNames> database;
        std::optional<StationNames> correction;
    };

    explicit CStationCorrectDlg(std::vector<Place> places, QWidget* parent = nullptr);

    // Each place's correction now: none where the name was left empty.
    std::vector<std::optional<StationNames>> Result() const;

    // For tests and the keyboard: field 0 the name, 1 the line, 2 the company.
    QLineEdit* NameEdit(std::size_t place, int field) const { return m_edits[place][field]; }
    QLabel* DatabaseText(std::size_t place) const { return m_database[place]; }

    static QString DatabaseText(const std::optional<StationNames>& database);

private:
    std::vector<Place> m_places;
    std::vector<std::array<QLineEdit*, 3>> m_edits;
    std::vector<QLabel*> m_database;
};
