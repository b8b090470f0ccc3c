#pragma once

#include <QDate>
#include <QDialog>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

class QTableWidget;

// "カードの名前": names for the cards the user reads ("通勤用 Suica"), shown in
// the list's カード column and in the question about another card. It works
// on copies; the caller keeps the names on OK.
class CCardNamesDlg : public QDialog
{
    Q_OBJECT

public:
    struct Card {
        QString idm; // 16 hex digits
        QString name;
        QDate lastUse;        // of the claim's newest line of the card; may be invalid
        QStringList otherIds; // under which the card was also read
    };

    explicit CCardNamesDlg(std::vector<Card> cards, QWidget* parent = nullptr);

    // Every card with the name it has now (empty: no name).
    std::vector<std::pair<QString, QString>> Result() const;
    QTableWidget& Table() const { return *m_table; }

private:
    std::vector<Card> m_cards;
    QTableWidget* m_table = nullptr;
};
