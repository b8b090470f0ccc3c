#include "EntryList.h"

#include "AppSettings.h"
#include "ArchiveError.h"
#include "ArchiveReader.h"
#include "ArchiveWriter.h"
#include "ClaimRules.h"
#include "CsvWriter.h"
#include "EntryRecord.h"
#include "FileWriter.h"
#include "HistoryCsvWriter.h"
#include "LocalTime.h"
#include "ShiftJis.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <unordered_map>

const QString EntryList::kMarkerV1 = QStringLiteral("<## EntryInfoData ##>");
const QString EntryList::kMarkerV2 = QStringLiteral("<## EntryInfoData V2 ##>");
const QString EntryList::kMarkerV3 = QStringLiteral("<## EntryInfoData V3 ##>");
const QString EntryList::kSuggestedMarker = QStringLiteral("<## VisitSuggested ##>");
const QString EntryList::kFareUnknownMarker = QStringLiteral("<## FareUnknown ##>");
const QString EntryList::kCardIdsMarker = QStringLiteral("<## CardIds ##>");

EntryList::EntryList() : documentTime(CurrentTimestamp()) {}

void EntryList::Clear()
{
    lines.clear();
    historyRows.clear();
    card = CardInfo{};
    cardIds = CardIdGroups();
    documentTime = CurrentTimestamp();
    kind = Document;
    visitMarksUnreadable = false;
}

void EntryList::Write(ArchiveWriter& out, FileKind kind) const
{
    if (kind == Snapshot) {
        WriteSnapshot(out, ClaimedLines(lines));
        return;
    }
    std::vector<const EntryInfo*> all;
    all.reserve(lines.size());
    for (const auto& line : lines)
        all.push_back(line.get());
    WriteLines(out, Document, all);
    // Earlier versions read the suggestions' section only when it comes first.
    WritePositions(out, kSuggestedMarker,
                   [](const EntryInfo& line) { return line.visitSuggested; });
    WritePositions(out, kFareUnknownMarker, [](const EntryInfo& line) { return line.fareUnknown; });
    WriteCardIds(out);
}

void EntryList::WriteCardIds(ArchiveWriter& out) const
{
    if (cardIds.Stored().isEmpty())
        return;
    out.WriteString(kCardIdsMarker);
    out.WriteStringList(cardIds.Stored());
}

void EntryList::ReadCardIds(ArchiveReader& in)
{
    cardIds = CardIdGroups(in.ReadStringList());
}

void EntryList::WritePositions(ArchiveWriter& out, const QString& marker,
                               const std::function<bool(const EntryInfo&)>& marked) const
{
    std::vector<std::int32_t> positions;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (marked(*lines[i]))
            positions.push_back(static_cast<std::int32_t>(i));
    if (positions.empty())
        return; // byte for byte what earlier versions write
    out.WriteString(marker);
    out.WriteInt32(static_cast<std::int32_t>(positions.size()));
    for (const std::int32_t position : positions)
        out.WriteInt32(position);
}

std::optional<std::vector<std::size_t>> EntryList::ReadPositions(ArchiveReader& in) const
{
    const std::int32_t count = in.ReadInt32();
    std::vector<std::size_t> positions;
    for (std::int32_t i = 0; i < count; ++i) {
        const std::int32_t position = in.ReadInt32();
        if (position < 0 || static_cast<std::size_t>(position) >= lines.size())
            return std::nullopt;
        positions.push_back(static_cast<std::size_t>(position));
    }
    return positions;
}

void EntryList::ReadSections(ArchiveReader& in)
{
    // Anything after the lines is not ours to read unless it is our marker;
    // a damaged section costs its marks, never the claim. The visit marks
    // come first: when what stands there cannot be read, no visit
    // destination can be told to be the user's own, and each one stays a
    // suggestion until the user confirms it.
    bool first = true;
    try {
        for (; !in.AtEnd(); first = false) {
            const QString marker = in.ReadString();
            if (marker == kSuggestedMarker && first)
                ReadSuggested(in);
            else if (marker == kFareUnknownMarker)
                ReadFareUnknown(in);
            else if (marker == kCardIdsMarker)
                ReadCardIds(in);
            else
                break;
            if (visitMarksUnreadable)
                return;
        }
        if (in.AtEnd())
            return;
    } catch (const ArchiveError&) {
    }
    if (first)
        TreatVisitsAsSuggested();
}

void EntryList::TreatVisitsAsSuggested()
{
    visitMarksUnreadable = true;
    for (const auto& line : lines)
        line->visitSuggested = !line->visitDestination.isEmpty();
}

void EntryList::ReadSuggested(ArchiveReader& in)
{
    const std::optional<std::vector<std::size_t>> positions = ReadSuggestedPositions(in);
    if (!positions) {
        TreatVisitsAsSuggested();
        return;
    }
    for (const std::size_t position : *positions)
        lines[position]->visitSuggested = !lines[position]->visitDestination.isEmpty();
}

std::optional<std::vector<std::size_t>> EntryList::ReadSuggestedPositions(ArchiveReader& in) const
{
    try {
        const std::int32_t count = in.ReadInt32();
        if (count <= 0 || static_cast<std::size_t>(count) > lines.size())
            return std::nullopt;
        std::vector<std::size_t> positions;
        for (std::int32_t i = 0; i < count; ++i) {
            const std::int32_t position = in.ReadInt32();
            // Written ascending, each line once.
            if (position < 0 || static_cast<std::size_t>(position) >= lines.size() ||
                (!positions.empty() && static_cast<std::size_t>(position) <= positions.back()))
                return std::nullopt;
            positions.push_back(static_cast<std::size_t>(position));
        }
        return positions;
    } catch (const ArchiveError&) {
        return std::nullopt;
    }
}

void EntryList::ReadFareUnknown(ArchiveReader& in)
{
    const auto positions = ReadPositions(in);
    if (!positions)
        return;
    // Only a card line without a fare can be missing one.
    for (const std::size_t position : *positions) {
        EntryInfo& line = *lines[position];
        line.fareUnknown = !line.IsManual() && line.fare == 0;
    }
}

QString EntryList::UnreadableVisitMarksText() const
{
    const auto suggested = std::count_if(lines.begin(), lines.end(),
                                         [](const auto& line) { return line->visitSuggested; });
    const QString unreadable = QStringLiteral("訪問先の候補の印を読み取れませんでした。");
    if (suggested == 0)
        return unreadable;
    return unreadable +
           QStringLiteral("訪問先のある明細 %1 件の訪問先は、確定するまで候補として扱います。")
               .arg(suggested);
}

void EntryList::WriteSnapshot(ArchiveWriter& out,
                              const std::vector<const EntryInfo*>& printed) const
{
    WriteLines(out, Snapshot, printed);
}

void EntryList::WriteLines(ArchiveWriter& out, FileKind kind,
                           const std::vector<const EntryInfo*>& written) const
{
    if (lines.empty())
        throw ArchiveError("a document without lines cannot be written");
    out.WriteString(kMarkerV3);
    out.WriteInt32(kind);
    out.WriteTime(documentTime);
    out.WriteInt32(static_cast<std::int32_t>(written.size()));
    for (const EntryInfo* line : written) {
        if (kind == Snapshot && line->visitSuggested) {
            // The record holds what the user stated, not what was suggested.
            EntryInfo stated = *line;
            stated.visitDestination = line->StatedVisit();
            stated.visitSuggested = false;
            EntryRecord::Write(out, stated);
        } else {
            EntryRecord::Write(out, *line);
        }
    }
}

void EntryList::Read(ArchiveReader& in)
{
    Clear();
    try {
        ReadContent(in);
    } catch (...) {
        Clear();
        throw;
    }
}

void EntryList::ReadContent(ArchiveReader& in)
{
    const QString marker = in.ReadString();
    int version = 0;
    if (marker == kMarkerV1)
        version = 1;
    else if (marker == kMarkerV2)
        version = 2;
    else if (marker == kMarkerV3)
        version = 3;
    else
        throw ArchiveError("unexpected file marker");

    const std::int32_t fileKind = in.ReadInt32();
    const std::int64_t stored = in.ReadTime();
    const std::int64_t now = CurrentTimestamp();
    documentTime = fileKind == Document ? now : stored;
    kind = fileKind == Document ? Document : Snapshot;
    const std::int32_t count = in.ReadInt32();
    for (std::int32_t i = 0; i < count; ++i) {
        auto line = std::make_unique<EntryInfo>(EntryInfo::ManualLine(now));
        EntryRecord::Read(in, version, *line);
        lines.push_back(std::move(line));
    }
    if (kind == Document)
        ReadSections(in);
}

bool EntryList::WriteCsv(const AppSettings& settings, const QString& path, bool* replaced,
                         const ClaimFilter& period) const
{
    if (replaced)
        *replaced = false;
    if (lines.empty())
        return false;
    const std::vector<const EntryInfo*> chosen = CsvLines(settings, period);
    if (settings.CsvProfile == AppSettings::kCsvHistory) {
        // Services that import this layout read Shift-JIS only.
        const QString text = HistoryCsvWriter(settings.CsvShowCardId != 0).Text(chosen);
        return FileWriter::WriteAtomically(path, EncodeShiftJisReplacing(text, replaced), nullptr);
    }
    std::vector<std::uint16_t> columns;
    settings.GetCsvOutputItems(columns);
    if (columns.empty()) {
        // An export without columns leaves an empty file.
        FileWriter::WriteAtomically(path, QByteArray(), nullptr);
        return false;
    }
    const QString text = CsvWriter(std::move(columns), settings.CsvOutputHeader != 0).Text(chosen);
    // Spreadsheets take UTF-8 only with the byte-order mark.
    const QByteArray bytes = settings.CsvEncoding == AppSettings::kCsvUtf8
                                 ? QByteArray("\xEF\xBB\xBF") + text.toUtf8()
                                 : EncodeShiftJisReplacing(text, replaced);
    return FileWriter::WriteAtomically(path, bytes, nullptr);
}

std::vector<const EntryInfo*> EntryList::UnconfirmedVisitsInCsv(const AppSettings& settings,
                                                                const ClaimFilter& period) const
{
    std::vector<const EntryInfo*> unconfirmed;
    if (settings.CsvProfile == AppSettings::kCsvHistory)
        return unconfirmed;
    std::vector<std::uint16_t> columns;
    settings.GetCsvOutputItems(columns);
    if (std::find(columns.begin(), columns.end(), 11) == columns.end())
        return unconfirmed;
    for (const EntryInfo* line : CsvLines(settings, period))
        if (line->visitSuggested)
            unconfirmed.push_back(line);
    return unconfirmed;
}

QString EntryList::UnconfirmedVisitsText(std::size_t count)
{
    return QStringLiteral("確定していない訪問先の候補 %1 件は空欄にしました。").arg(count);
}

std::vector<const EntryInfo*> EntryList::CsvLines(const AppSettings& settings,
                                                  const ClaimFilter& period) const
{
    // Every line of the period, whatever the list shows; or the claim.
    ClaimFilter filter = period;
    filter.showAll = true;
    if (settings.CsvApplyOnly != 0)
        return ClaimedLines(lines, filter);
    std::vector<const EntryInfo*> chosen;
    for (const auto& line : lines)
        if (IsListed(*line, filter))
            chosen.push_back(line.get());
    return chosen;
}

std::vector<std::size_t> EntryList::OrderAsListed(const std::vector<const EntryInfo*>& listed) const
{
    std::unordered_map<const EntryInfo*, std::size_t> position;
    position.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        position.emplace(lines[i].get(), i);
    std::vector<bool> shown(lines.size(), false);
    for (const EntryInfo* line : listed)
        if (const auto at = position.find(line); at != position.end())
            shown[at->second] = true;
    // Unlisted lines by the listed line before them (none: they lead).
    std::unordered_map<std::size_t, std::vector<std::size_t>> followers;
    std::vector<std::size_t> leading;
    std::optional<std::size_t> anchor;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (shown[i])
            anchor = i;
        else
            (anchor ? followers[*anchor] : leading).push_back(i);
    }
    std::vector<std::size_t> order = leading;
    order.reserve(lines.size());
    for (const EntryInfo* line : listed) {
        const auto at = position.find(line);
        if (at == position.end() || !shown[at->second])
            continue; // not a line of this list, or listed twice
        shown[at->second] = false;
        order.push_back(at->second);
        if (const auto group = followers.find(at->second); group != followers.end())
            order.insert(order.end(), group->second.begin(), group->second.end());
    }
    return order;
}

std::int64_t EntryList::ClaimedTotal() const
{
    return ::ClaimedTotal(ClaimedLines(lines));
}
