#include "CardIdentity.h"

#include "SequenceNumber.h"

#include <algorithm>

bool IsSameRecord(const EntryInfo& a, const EntryInfo& b)
{
    return !a.IsManual() && !b.IsManual() && SequenceNumber::Same(a.serialNumber, b.serialNumber) &&
           a.dateTime == b.dateTime && a.balance == b.balance && a.terminalType == b.terminalType &&
           a.processType == b.processType && a.entryArea == b.entryArea &&
           a.entryLine == b.entryLine && a.entryStation == b.entryStation &&
           a.exitArea == b.exitArea && a.exitLine == b.exitLine && a.exitStation == b.exitStation;
}

bool IsSameCardId(const CardId& a, const CardId& b)
{
    return std::equal(a.begin() + 1, a.end(), b.begin() + 1);
}

std::vector<CardId> KnownIdsOf(const EntryLines& claim, const CardId& idm,
                               const std::vector<const EntryInfo*>& records)
{
    std::vector<CardId> ids{idm};
    for (const auto& line : claim) {
        if (line->IsManual())
            continue;
        const bool known = std::any_of(
            ids.begin(), ids.end(), [&](const CardId& id) { return IsSameCardId(id, line->idm); });
        if (known)
            continue;
        const bool sameRecord =
            std::any_of(records.begin(), records.end(),
                        [&](const EntryInfo* r) { return IsSameRecord(*r, *line); });
        if (sameRecord)
            ids.push_back(line->idm);
    }
    return ids;
}

bool IsOtherCard(const EntryLines& claim, const CardId& idm,
                 const std::vector<const EntryInfo*>& records)
{
    bool anyCardLine = false;
    for (const auto& line : claim) {
        if (line->IsManual())
            continue;
        anyCardLine = true;
        if (IsSameCardId(line->idm, idm))
            return false;
        for (const EntryInfo* record : records)
            if (IsSameRecord(*record, *line))
                return false;
    }
    return anyCardLine;
}

const EntryInfo* RecordBefore(const EntryLines& claim, const std::vector<CardId>& ids,
                              const EntryInfo& record)
{
    for (const auto& line : claim) {
        if (line->IsManual() || !SequenceNumber::Follows(line->serialNumber, record.serialNumber) ||
            line->dateTime > record.dateTime)
            continue;
        for (const CardId& id : ids)
            if (IsSameCardId(id, line->idm))
                return line.get();
    }
    return nullptr;
}

bool HoldsSeveralCards(const EntryLines& lines, const CardIdGroups& groups)
{
    const CardId* first = nullptr;
    for (const auto& line : lines) {
        if (line->IsManual())
            continue;
        if (!first)
            first = &line->idm;
        else if (!IsSameCardId(*first, line->idm) &&
                 !groups.SameCard(CardIdHex(*first), CardIdHex(line->idm)))
            return true;
    }
    return false;
}

std::optional<CardId> CardIdFromHex(const QString& hex)
{
    const QByteArray bytes = QByteArray::fromHex(hex.toLatin1());
    CardId idm{};
    if (hex.size() != 2 * static_cast<qsizetype>(idm.size()) || bytes.size() != hex.size() / 2)
        return std::nullopt;
    std::copy(bytes.begin(), bytes.end(), idm.begin());
    return idm;
}

QString MaskedCardId(const CardId& idm)
{
    return QStringLiteral("****") + CardIdHex(idm).right(4);
}

QString CardIdHex(const CardId& idm)
{
    QString hex;
    for (const std::uint8_t byte : idm)
        hex += QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
    return hex;
}
