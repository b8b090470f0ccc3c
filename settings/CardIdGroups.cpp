#include "CardIdGroups.h"

namespace
{
QStringList Split(const QString& group)
{
    return group.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}
} // namespace

CardIdGroups::CardIdGroups(QStringList stored)
{
    // Each entry through Link, so a hand-edited or merged list stays one
    // entry per card.
    for (const QString& group : stored)
        Link(Split(group));
}

bool CardIdGroups::SameId(const QString& a, const QString& b)
{
    return a.size() == b.size() && a.mid(2).compare(b.mid(2), Qt::CaseInsensitive) == 0;
}

qsizetype CardIdGroups::GroupOf(const QString& idmHex) const
{
    for (qsizetype i = 0; i < m_groups.size(); ++i)
        for (const QString& id : Split(m_groups[i]))
            if (SameId(id, idmHex))
                return i;
    return -1;
}

QStringList CardIdGroups::IdsOf(const QString& idmHex) const
{
    const qsizetype group = GroupOf(idmHex);
    return group < 0 ? QStringList{idmHex.toUpper()} : Split(m_groups[group]);
}

bool CardIdGroups::SameCard(const QString& a, const QString& b) const
{
    if (SameId(a, b))
        return true;
    const qsizetype group = GroupOf(a);
    return group >= 0 && group == GroupOf(b);
}

bool CardIdGroups::Link(const QStringList& ids)
{
    QStringList joined;
    const auto add = [&joined](const QString& id) {
        for (const QString& known : joined)
            if (SameId(known, id))
                return;
        joined << id.toUpper();
    };
    // The groups these IDs touch, in their order, become one.
    int touched = 0;
    for (const QString& id : ids) {
        const qsizetype group = GroupOf(id);
        if (group < 0)
            continue;
        for (const QString& known : Split(m_groups[group]))
            add(known);
        m_groups.removeAt(group);
        ++touched;
    }
    const qsizetype before = joined.size();
    for (const QString& id : ids)
        add(id);
    // One ID alone is no link (what was taken out goes back, unchanged).
    if (joined.size() >= 2 || touched > 0)
        m_groups << joined.join(QLatin1Char(' '));
    return joined.size() >= 2 && (touched != 1 || joined.size() > before);
}

void CardIdGroups::Merge(const CardIdGroups& other)
{
    for (const QString& group : other.m_groups)
        Link(Split(group));
}
