#include "PdfTextLayer.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <vector>

namespace
{
constexpr char16_t kPrivateUseFirst = 0xE000;
constexpr char16_t kPrivateUseLast = 0xF8FF;
constexpr char32_t kLastCharacter = 0x10FFFF;

quint32 Big(const QByteArray& bytes, qsizetype at, int size)
{
    if (at < 0 || at + size > bytes.size())
        return 0;
    quint32 value = 0;
    for (int i = 0; i < size; ++i)
        value = value << 8 | static_cast<quint8>(bytes[at + i]);
    return value;
}

quint32 U16(const QByteArray& bytes, qsizetype at)
{
    return Big(bytes, at, 2);
}

quint32 U32(const QByteArray& bytes, qsizetype at)
{
    return Big(bytes, at, 4);
}

// One table of an OpenType font file, read without the rest of the file.
QByteArray ReadTable(QFile& file, const QByteArray& tag)
{
    if (!file.seek(0))
        return {};
    const QByteArray header = file.read(12);
    const quint32 tables = U16(header, 4);
    const QByteArray directory = file.read(16 * static_cast<qint64>(tables));
    for (quint32 i = 0; i < tables; ++i) {
        if (directory.mid(16 * i, 4) != tag)
            continue;
        if (!file.seek(U32(directory, 16 * i + 8)))
            return {};
        return file.read(U32(directory, 16 * i + 12));
    }
    return {};
}

// The offset of the character map's subtable that reaches beyond the BMP
// (format 12, Unicode full repertoire), or -1.
qsizetype FullRepertoireSubtable(const QByteArray& cmap)
{
    const quint32 count = U16(cmap, 2);
    for (quint32 i = 0; i < count; ++i) {
        const qsizetype record = 4 + 8 * static_cast<qsizetype>(i);
        const quint32 platform = U16(cmap, record);
        const quint32 encoding = U16(cmap, record + 2);
        const qsizetype offset = U32(cmap, record + 4);
        const bool unicode = (platform == 3 && encoding == 10) ||
                             (platform == 0 && (encoding == 4 || encoding == 6));
        if (unicode && U16(cmap, offset) == 12)
            return offset;
    }
    return -1;
}

QByteArray Hex(const QString& utf16)
{
    QByteArray hex;
    for (QChar unit : utf16)
        hex += QByteArray::number(unit.unicode(), 16).rightJustified(4, '0');
    return hex;
}

// The destinations of one bfrange entry: the array's, or the start's
// counted up over the range.
std::vector<QByteArray> Destinations(quint32 first, quint32 last, const QString& target)
{
    std::vector<QByteArray> out;
    if (target.startsWith(QLatin1Char('['))) {
        static const QRegularExpression code(QStringLiteral("<([0-9A-Fa-f]*)>"));
        for (const auto& match : code.globalMatch(target))
            out.push_back(match.captured(1).toLatin1());
        return out;
    }
    const QString start = target.mid(1, target.size() - 2);
    bool ok = false;
    const quint32 value = start.toUInt(&ok, 16);
    if (!ok || start.size() != 4)
        return {start.toLatin1()};
    for (quint32 cid = first; cid <= last; ++cid)
        out.push_back(QByteArray::number(value + (cid - first), 16).rightJustified(4, '0'));
    return out;
}

// The ToUnicode map with its aliases replaced; the same text when it has none.
QByteArray RewriteMap(const QByteArray& map, const PdfTextLayer::Aliases& aliases)
{
    static const QRegularExpression entry(
        QStringLiteral("<([0-9A-Fa-f]{4})> <([0-9A-Fa-f]{4})> (<[0-9A-Fa-f]+>|\\[[^\\]]*\\])"));
    const QString text = QString::fromLatin1(map);
    QString out;
    qsizetype copied = 0;
    bool changed = false;
    for (const auto& match : entry.globalMatch(text)) {
        const quint32 first = match.captured(1).toUInt(nullptr, 16);
        const quint32 last = match.captured(2).toUInt(nullptr, 16);
        if (last < first)
            continue;
        std::vector<QByteArray> targets = Destinations(first, last, match.captured(3));
        bool aliased = false;
        for (QByteArray& target : targets) {
            bool ok = false;
            const quint32 code = target.toUInt(&ok, 16);
            const auto alias = aliases.constFind(static_cast<char16_t>(code));
            if (!ok || target.size() != 4 || alias == aliases.constEnd())
                continue;
            const char32_t character = *alias;
            target = Hex(QString::fromUcs4(&character, 1));
            aliased = true;
        }
        if (!aliased)
            continue;
        QStringList array;
        for (const QByteArray& target : targets)
            array << QLatin1Char('<') + QString::fromLatin1(target) + QLatin1Char('>');
        out += text.mid(copied, match.capturedStart(3) - copied);
        out += QLatin1Char('[') + array.join(QLatin1Char(' ')) + QLatin1Char(']');
        copied = match.capturedEnd(3);
        changed = true;
    }
    if (!changed)
        return map;
    out += text.mid(copied);
    return out.toLatin1();
}

struct Edit {
    qsizetype from; // the replaced bytes of the original
    qsizetype to;
    QByteArray with;
};

qsizetype Moved(qsizetype offset, const std::vector<Edit>& edits)
{
    qsizetype moved = offset;
    for (const Edit& edit : edits)
        if (edit.from < offset)
            moved += edit.with.size() - (edit.to - edit.from);
    return moved;
}

// The cross-reference table and startxref of a PDF whose bytes moved by the
// edits; false when the PDF's tail is not the single table expected.
bool MoveCrossReferences(QByteArray& pdf, const std::vector<Edit>& edits, qsizetype oldStart)
{
    const qsizetype start = Moved(oldStart, edits);
    static const QRegularExpression head(QStringLiteral("^xref\\n0 (\\d+)\\n"));
    const auto match = head.match(QString::fromLatin1(pdf.mid(start, 40)));
    if (!match.hasMatch())
        return false;
    const qsizetype count = match.captured(1).toLongLong();
    const qsizetype entries = start + match.capturedLength(0);
    if (count < 0 || entries + 20 * count > pdf.size())
        return false;
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype at = entries + 20 * i;
        if (pdf[at + 17] != 'n')
            continue;
        bool ok = false;
        const qsizetype offset = pdf.mid(at, 10).toLongLong(&ok);
        if (!ok)
            return false;
        pdf.replace(at, 10, QByteArray::number(Moved(offset, edits)).rightJustified(10, '0'));
    }
    const qsizetype tail = pdf.lastIndexOf("startxref\n");
    if (tail < 0)
        return false;
    const qsizetype number = tail + 10;
    const qsizetype end = pdf.indexOf('\n', number);
    if (end < 0)
        return false;
    pdf.replace(number, end - number, QByteArray::number(start));
    return true;
}

// Where the PDF's one cross-reference table starts, or -1.
qsizetype CrossReferenceStart(const QByteArray& pdf)
{
    const qsizetype tail = pdf.lastIndexOf("startxref\n");
    if (tail < 0)
        return -1;
    const qsizetype end = pdf.indexOf('\n', tail + 10);
    bool ok = false;
    const qsizetype start = pdf.mid(tail + 10, end - tail - 10).toLongLong(&ok);
    return ok && start >= 0 && start < tail && pdf.mid(start, 5) == "xref\n" ? start : -1;
}
} // namespace

PdfTextLayer::Aliases PdfTextLayer::ReadAliases(const QString& fontPath)
{
    QFile file(fontPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return AliasesOfCharacterMap(ReadTable(file, "cmap"));
}

PdfTextLayer::Aliases PdfTextLayer::AliasesOfCharacterMap(const QByteArray& cmap)
{
    const qsizetype subtable = FullRepertoireSubtable(cmap);
    if (subtable < 0)
        return {};
    const quint32 groups = U32(cmap, subtable + 12);
    if (subtable + 16 + 12 * static_cast<qint64>(groups) > cmap.size())
        return {};
    QHash<quint32, char32_t> beyond; // glyph -> the lowest character beyond the BMP
    std::vector<std::pair<char16_t, quint32>> privateUse;
    for (quint32 i = 0; i < groups; ++i) {
        const qsizetype group = subtable + 16 + 12 * static_cast<qsizetype>(i);
        const quint32 first = U32(cmap, group);
        const quint32 last = std::min<quint32>(U32(cmap, group + 4), kLastCharacter);
        const quint32 glyph = U32(cmap, group + 8);
        for (quint32 c = std::max<quint32>(first, kPrivateUseFirst);
             c <= std::min<quint32>(last, kPrivateUseLast); ++c)
            privateUse.emplace_back(static_cast<char16_t>(c), glyph + (c - first));
        // Groups ascend: the first character of a glyph is its lowest.
        for (quint32 c = std::max<quint32>(first, 0x10000); c <= last; ++c)
            if (!beyond.contains(glyph + (c - first)))
                beyond.insert(glyph + (c - first), c);
    }
    Aliases aliases;
    for (const auto& [code, glyph] : privateUse)
        if (const auto character = beyond.constFind(glyph); character != beyond.constEnd())
            aliases.insert(code, *character);
    return aliases;
}

QByteArray PdfTextLayer::RestoreCharacters(const QByteArray& pdf, const Aliases& aliases)
{
    if (aliases.isEmpty())
        return pdf;
    const qsizetype crossReferences = CrossReferenceStart(pdf);
    if (crossReferences < 0)
        return pdf;
    static const QRegularExpression dictionary(QStringLiteral("<< /Length (\\d+) >>\\n$"));
    const QByteArray marker = "stream\n/CIDInit /ProcSet findresource begin";
    std::vector<Edit> edits;
    for (qsizetype at = pdf.indexOf(marker); at >= 0 && at < crossReferences;
         at = pdf.indexOf(marker, at + 1)) {
        const qsizetype open = pdf.lastIndexOf("<<", at);
        const auto match = dictionary.match(QString::fromLatin1(pdf.mid(open, at - open)));
        if (open < 0 || !match.hasMatch())
            return pdf;
        const qsizetype content = at + 7;
        const qsizetype length = match.captured(1).toLongLong();
        if (content + length > crossReferences)
            return pdf;
        const QByteArray map = pdf.mid(content, length);
        const QByteArray rewritten = RewriteMap(map, aliases);
        if (rewritten == map)
            continue;
        edits.push_back(
            {open, content + length,
             "<< /Length " + QByteArray::number(rewritten.size()) + " >>\nstream\n" + rewritten});
    }
    if (edits.empty())
        return pdf;
    QByteArray out;
    qsizetype copied = 0;
    for (const Edit& edit : edits) {
        out += pdf.mid(copied, edit.from - copied);
        out += edit.with;
        copied = edit.to;
    }
    out += pdf.mid(copied);
    if (!MoveCrossReferences(out, edits, crossReferences))
        return pdf;
    return out;
}
