#pragma once

#include <QString>
#include <QStringList>

// The IDs under which one card was read. A phone's card may give another ID
// at every read, and readers differ on an ID's first byte; when a read's
// records show that two IDs are one card, they are linked here, so the card
// has one name and one line wherever it is shown. Stored one card an entry,
// its IDs as hex digits separated by spaces, the first one seen first.
class CardIdGroups
{
public:
    CardIdGroups() = default;
    explicit CardIdGroups(QStringList stored);

    const QStringList& Stored() const { return m_groups; }
    // Every ID of the card with this ID, the first one seen first; the ID
    // alone for a card known under no other.
    QStringList IdsOf(const QString& idmHex) const;
    // The card's ID that stands for all of them: its first one.
    QString FirstIdOf(const QString& idmHex) const { return IdsOf(idmHex).constFirst(); }
    bool SameCard(const QString& a, const QString& b) const;
    // These IDs are one card: the cards they name become one. True when
    // anything was learned.
    bool Link(const QStringList& ids);
    // Learns what another holds.
    void Merge(const CardIdGroups& other);

    // Two IDs name one card as far as the ID tells (the first byte aside).
    static bool SameId(const QString& a, const QString& b);

private:
    qsizetype GroupOf(const QString& idmHex) const;

    QStringList m_groups;
};
