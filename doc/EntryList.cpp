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

#include <unordered_map>
#include <unordered_set>

const QString EntryList::kMarkerV1 = QStringLiteral("<## EntryInfoData ##>");
const QString EntryList::kMarkerV2 = QStringLiteral("<## EntryInfoData V2 ##>");
const QString EntryList::kMarkerV3 = QStringLiteral("<## EntryInfoData V3 ##>");

EntryList::EntryList() : documentTime(CurrentTimestamp()) {}

void EntryList::Clear()
{
    lines.clear();
    historyRows.clear();
    card = CardInfo{};
    documentTime = CurrentTimestamp();
}

void EntryList::Write(ArchiveWriter& out, FileKind kind) const
{
    if (lines.empty())
        throw ArchiveError("a document without lines cannot be written");
    // A snapshot holds what was printed: the claim's lines.
    const auto written = [kind](const EntryInfo& line) {
        return kind == Document || (line.applyFlag == 1 && IsListed(line, true) && CanApply(line));
    };
    std::int32_t count = 0;
    for (const auto& line : lines)
        count += written(*line) ? 1 : 0;
    out.WriteString(kMarkerV3);
    out.WriteInt32(kind);
    out.WriteTime(documentTime);
    out.WriteInt32(count);
    for (const auto& line : lines)
        if (written(*line))
            EntryRecord::Write(out, *line);
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

    const std::int32_t kind = in.ReadInt32();
    const std::int64_t stored = in.ReadTime();
    const std::int64_t now = CurrentTimestamp();
    documentTime = kind == Document ? now : stored;
    const std::int32_t count = in.ReadInt32();
    for (std::int32_t i = 0; i < count; ++i) {
        auto line = std::make_unique<EntryInfo>(EntryInfo::ManualLine(now));
        EntryRecord::Read(in, version, *line);
        lines.push_back(std::move(line));
    }
}

bool EntryList::WriteCsv(const AppSettings& settings, const QString& path, bool* replaced) const
{
    if (replaced)
        *replaced = false;
    if (lines.empty())
        return false;
    const std::vector<const EntryInfo*> chosen = CsvLines(settings);
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

std::vector<const EntryInfo*> EntryList::CsvLines(const AppSettings& settings) const
{
    std::vector<const EntryInfo*> chosen;
    for (const auto& line : lines)
        if (line->hidden != 1 && (settings.CsvApplyOnly == 0 || line->applyFlag != 0))
            chosen.push_back(line.get());
    return chosen;
}

void EntryList::ReorderAsListed(const std::vector<const EntryInfo*>& listed)
{
    const std::unordered_set<const EntryInfo*> shown(listed.begin(), listed.end());
    std::unordered_map<const EntryInfo*, std::unique_ptr<EntryInfo>> held;
    // Unlisted lines by the listed line before them (none: they lead).
    std::unordered_map<const EntryInfo*, EntryLines> followers;
    const EntryInfo* anchor = nullptr;
    for (auto& line : lines) {
        if (shown.count(line.get()) != 0) {
            anchor = line.get();
            held.emplace(anchor, std::move(line));
        } else {
            followers[anchor].push_back(std::move(line));
        }
    }
    EntryLines reordered;
    const auto appendFollowers = [&](const EntryInfo* key) {
        const auto group = followers.find(key);
        if (group == followers.end())
            return;
        for (auto& line : group->second)
            reordered.push_back(std::move(line));
    };
    appendFollowers(nullptr);
    for (const EntryInfo* line : listed) {
        const auto own = held.find(line);
        if (own == held.end() || !own->second)
            continue; // not a line of this list, or listed twice
        reordered.push_back(std::move(own->second));
        appendFollowers(line);
    }
    lines = std::move(reordered);
}

std::int64_t EntryList::ClaimedTotal() const
{
    return ::ClaimedTotal(ClaimedLines(lines));
}
