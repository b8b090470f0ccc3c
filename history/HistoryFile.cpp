#include "HistoryFile.h"

#include "ArchiveError.h"
#include "ArchiveReader.h"
#include "ArchiveWriter.h"

#include <algorithm>
#include <optional>

const QString HistoryFile::kMarker = QStringLiteral("<## ApplyHistoryInfo ##>");
const QString HistoryFile::kCancelMarker = QStringLiteral("<## ApplyHistoryCancelled ##>");
const QString HistoryFile::kPrintJobMarker = QStringLiteral("<## ApplyHistoryPrintJobs ##>");
const QString HistoryFile::kDetailsMarker = QStringLiteral("<## ApplyHistoryDetails ##>");
const QString HistoryFile::kCancelReasonMarker =
    QStringLiteral("<## ApplyHistoryCancelReasons ##>");

namespace
{
// Every version writes times and texts in these forms: they are the
// delimiters a damaged file is searched for.
constexpr char kTimeMark[] = {'\x0A', '\x00', '\x00', '\x80'};
constexpr char kTextMark[] = {'\xFF', '\xFE', '\xFF'};

template <std::size_t N> bool At(const QByteArray& bytes, std::size_t pos, const char (&mark)[N])
{
    return pos + N <= static_cast<std::size_t>(bytes.size()) &&
           std::equal(mark, mark + N, bytes.constData() + pos);
}

bool AtEnd(const QByteArray& bytes, std::size_t pos)
{
    return pos >= static_cast<std::size_t>(bytes.size());
}

// Reads what follows pos, as written; pos moves past it only on success.
class Cursor
{
public:
    Cursor(const QByteArray& bytes, std::size_t pos)
        : m_pos(pos), m_in(QByteArray::fromRawData(bytes.constData() + pos,
                                                   bytes.size() - static_cast<qsizetype>(pos))),
          m_bytes(bytes)
    {
    }

    std::size_t Position() const { return m_pos + m_in.Position(); }
    std::int32_t Int32() { return m_in.ReadInt32(); }
    std::int64_t Time()
    {
        if (!At(m_bytes, Position(), kTimeMark))
            throw ArchiveError("no time");
        return m_in.ReadTime();
    }
    QString Text()
    {
        if (!At(m_bytes, Position(), kTextMark))
            throw ArchiveError("no text");
        QString text = m_in.ReadString();
        if (text.isEmpty() || !text.isValidUtf16() ||
            std::any_of(text.cbegin(), text.cend(),
                        [](QChar c) { return c.category() == QChar::Other_Control; }))
            throw ArchiveError("no plain text");
        return text;
    }
    // A text the user wrote: any characters, or none.
    QString FreeText()
    {
        if (!At(m_bytes, Position(), kTextMark))
            throw ArchiveError("no text");
        QString text = m_in.ReadString();
        if (!text.isValidUtf16())
            throw ArchiveError("no text");
        return text;
    }

private:
    std::size_t m_pos;
    ArchiveReader m_in;
    const QByteArray& m_bytes;
};

// What ends a record that is whole: the next record, a section, the end.
bool Delimited(const QByteArray& bytes, std::size_t pos)
{
    return AtEnd(bytes, pos) || At(bytes, pos, kTimeMark) || At(bytes, pos, kTextMark);
}

std::optional<ApplyRecord> RecordAt(const QByteArray& bytes, std::size_t& pos)
{
    try {
        Cursor in(bytes, pos);
        ApplyRecord record;
        record.documentTime = in.Time();
        record.amount = in.Int32();
        record.snapshotPath = in.Text();
        pos = in.Position();
        return record;
    } catch (const ArchiveError&) {
        return std::nullopt;
    }
}

class Parser
{
public:
    explicit Parser(const QByteArray& bytes) : m_bytes(bytes) {}

    HistoryFile::Reading Run()
    {
        if (m_bytes.isEmpty())
            return m_reading;
        std::size_t pos = 0;
        std::int32_t count = 0;
        try {
            Cursor in(m_bytes, pos);
            if (in.Text() != HistoryFile::kMarker || (count = in.Int32()) < 0)
                return Recover(0);
            pos = in.Position();
        } catch (const ArchiveError&) {
            return Recover(0);
        }
        for (std::int32_t i = 0; i < count; ++i) {
            std::size_t end = pos;
            const auto record = RecordAt(m_bytes, end);
            // The count tells what follows each record: the next one, or
            // the sections and the end.
            const bool last = i + 1 == count;
            const bool delimited = last ? AtEnd(m_bytes, end) || At(m_bytes, end, kTextMark)
                                        : At(m_bytes, end, kTimeMark);
            if (!record || !delimited)
                return Recover(pos);
            Records().push_back(*record);
            pos = end;
            m_exact = Records().size();
        }
        return Sections(pos);
    }

private:
    std::vector<ApplyRecord>& Records() { return m_reading.contents.records; }

    // Past the damage: every record whose delimiters are intact, then the
    // sections, as far as they hold records known by their place.
    HistoryFile::Reading Recover(std::size_t pos)
    {
        m_reading.damaged = true;
        while (!AtEnd(m_bytes, pos)) {
            std::size_t end = pos;
            if (!At(m_bytes, pos, kTimeMark) && !At(m_bytes, pos, kTextMark)) {
                ++pos;
            } else if (const auto record = RecordAt(m_bytes, end);
                       record && Delimited(m_bytes, end)) {
                Records().push_back(*record);
                pos = end;
            } else if (IsSectionAt(pos)) {
                return Sections(pos);
            } else {
                ++pos;
            }
        }
        return m_reading;
    }

    bool IsSectionAt(std::size_t pos) const
    {
        try {
            Cursor in(m_bytes, pos);
            const QString marker = in.Text();
            return marker == HistoryFile::kCancelMarker || marker == HistoryFile::kPrintJobMarker ||
                   marker == HistoryFile::kDetailsMarker ||
                   marker == HistoryFile::kCancelReasonMarker;
        } catch (const ArchiveError&) {
            return false;
        }
    }

    HistoryFile::Reading Sections(std::size_t pos)
    {
        while (!AtEnd(m_bytes, pos)) {
            try {
                Cursor in(m_bytes, pos);
                const QString marker = in.Text();
                if (marker == HistoryFile::kCancelMarker)
                    ReadEntries(in, [&](ApplyRecord& record) { record.cancelled = in.Time(); });
                else if (marker == HistoryFile::kPrintJobMarker)
                    ReadEntries(in, [&](ApplyRecord& record) {
                        ApplyRecord::PrintJob job{in.Text(), in.Int32(), in.Time()};
                        if (job.id != 0)
                            record.printJob = job;
                    });
                else if (marker == HistoryFile::kDetailsMarker)
                    ReadEntries(in, [&](ApplyRecord& record) { ReadDetails(in, record); });
                else if (marker == HistoryFile::kCancelReasonMarker)
                    ReadEntries(in, [&](ApplyRecord& record) {
                        record.cancelReason = in.FreeText();
                        record.cancelledBy = {in.FreeText(), in.FreeText()};
                    });
                else
                    return Later(pos);
                pos = in.Position();
                if (!AtEnd(m_bytes, pos) && !At(m_bytes, pos, kTextMark))
                    throw ArchiveError("no section");
            } catch (const ArchiveError&) {
                // What a damaged section held up to the damage stays read.
                m_reading.damaged = true;
                return m_reading;
            }
        }
        return m_reading;
    }

    static void ReadDetails(Cursor& in, ApplyRecord& record)
    {
        record.id = in.FreeText();
        record.printed = in.Time();
        record.printedBy = {in.FreeText(), in.FreeText()};
        record.sha256 = in.FreeText();
        record.lineCount = in.Int32();
        for (QString& field : record.paper.claimant)
            field = in.FreeText();
        record.paper.from = in.Time();
        record.paper.until = in.Time();
    }

    // Entries of a section: a count, then each with the place of its record
    // (oldest first) and what it says of it.
    template <typename ReadEntry> void ReadEntries(Cursor& in, ReadEntry read)
    {
        const std::int32_t count = in.Int32();
        if (count < 0)
            throw ArchiveError("a negative count");
        ApplyRecord ignored;
        for (std::int32_t i = 0; i < count; ++i) {
            const std::int32_t index = in.Int32();
            const bool known = index >= 0 && static_cast<std::size_t>(index) < m_exact;
            // Past damage in the records, a place no longer names one surely.
            if (!known && !m_reading.damaged)
                throw ArchiveError("an entry of no record");
            read(known ? Records()[static_cast<std::size_t>(index)] : ignored);
        }
    }

    // A later version's section: kept whole for it, when the file is.
    HistoryFile::Reading Later(std::size_t pos)
    {
        if (!m_reading.damaged)
            m_reading.contents.later = m_bytes.mid(static_cast<qsizetype>(pos));
        return m_reading;
    }

    const QByteArray& m_bytes;
    HistoryFile::Reading m_reading;
    std::size_t m_exact = 0; // records read in order before any damage
};
} // namespace

HistoryFile::Reading HistoryFile::Read(const QByteArray& bytes)
{
    return Parser(bytes).Run();
}

QByteArray HistoryFile::Serialize(const HistoryContents& contents)
{
    const auto& records = contents.records;
    if (records.empty() && contents.later.isEmpty())
        return QByteArray(); // no records: an empty file
    ArchiveWriter out;
    out.WriteString(kMarker);
    out.WriteInt32(static_cast<std::int32_t>(records.size()));
    for (const ApplyRecord& record : records) {
        out.WriteTime(record.documentTime);
        out.WriteInt32(record.amount);
        out.WriteString(record.snapshotPath);
    }
    const auto section = [&](const QString& marker, auto has, auto write) {
        const auto count = std::count_if(records.begin(), records.end(), has);
        if (count == 0)
            return;
        out.WriteString(marker);
        out.WriteInt32(static_cast<std::int32_t>(count));
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (!has(records[i]))
                continue;
            out.WriteInt32(static_cast<std::int32_t>(i));
            write(records[i]);
        }
    };
    section(
        kCancelMarker, [](const ApplyRecord& r) { return r.cancelled != 0; },
        [&](const ApplyRecord& r) { out.WriteTime(r.cancelled); });
    section(
        kPrintJobMarker,
        [](const ApplyRecord& r) { return r.printJob.id != 0 && !r.printJob.printer.isEmpty(); },
        [&](const ApplyRecord& r) {
            out.WriteString(r.printJob.printer);
            out.WriteInt32(r.printJob.id);
            out.WriteTime(r.printJob.submitted);
        });
    section(
        kDetailsMarker, [](const ApplyRecord& r) { return !r.id.isEmpty(); },
        [&](const ApplyRecord& r) {
            out.WriteString(r.id);
            out.WriteTime(r.printed);
            out.WriteString(r.printedBy.user);
            out.WriteString(r.printedBy.host);
            out.WriteString(r.sha256);
            out.WriteInt32(r.lineCount);
            for (const QString& field : r.paper.claimant)
                out.WriteString(field);
            out.WriteTime(r.paper.from);
            out.WriteTime(r.paper.until);
        });
    section(
        kCancelReasonMarker,
        [](const ApplyRecord& r) {
            return r.cancelled != 0 && (!r.cancelReason.isEmpty() || !r.cancelledBy.user.isEmpty());
        },
        [&](const ApplyRecord& r) {
            out.WriteString(r.cancelReason);
            out.WriteString(r.cancelledBy.user);
            out.WriteString(r.cancelledBy.host);
        });
    QByteArray bytes = out.Data();
    return bytes + contents.later;
}

namespace
{
constexpr int kIdDigits = 5;

// The sequence of an id "A00012"; 0 when it is none.
int Sequence(const QString& id)
{
    if (!id.startsWith(QLatin1Char('A')))
        return 0;
    bool ok = false;
    const int n = id.mid(1).toInt(&ok);
    return ok && n > 0 ? n : 0;
}

QString IdOf(int sequence)
{
    return QStringLiteral("A%1").arg(sequence, kIdDigits, 10, QLatin1Char('0'));
}
} // namespace

void HistoryFile::Number(std::vector<ApplyRecord>& records)
{
    int highest = 0;
    std::vector<QString> seen;
    for (ApplyRecord& record : records) {
        // A number met twice (a file edited by hand) is no number.
        if (std::find(seen.begin(), seen.end(), record.id) != seen.end())
            record.id.clear();
        if (!record.id.isEmpty())
            seen.push_back(record.id);
        highest = std::max(highest, Sequence(record.id));
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (!records[i].id.isEmpty())
            continue;
        highest = std::max(highest, static_cast<int>(i)) + 1;
        records[i].id = IdOf(highest);
    }
}

QString HistoryFile::NextId(const std::vector<ApplyRecord>& records)
{
    int highest = static_cast<int>(records.size());
    for (const ApplyRecord& record : records)
        highest = std::max(highest, Sequence(record.id));
    return IdOf(highest + 1);
}
