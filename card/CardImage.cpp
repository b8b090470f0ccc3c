#include "CardImage.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace
{
// Parses hex bytes with optional spaces: "01 02 0A" or "01020A".
std::optional<QByteArray> ParseHex(QString text)
{
    text.remove(QLatin1Char(' '));
    text.remove(QLatin1Char(':'));
    static const QRegularExpression kHex(QStringLiteral("^([0-9A-Fa-f]{2})*$"));
    if (!kHex.match(text).hasMatch())
        return std::nullopt;
    return QByteArray::fromHex(text.toLatin1());
}

template <std::size_t N> bool ParseFixed(const QString& text, std::array<std::uint8_t, N>& out)
{
    const auto bytes = ParseHex(text);
    if (!bytes || bytes->size() != static_cast<qsizetype>(N))
        return false;
    for (std::size_t i = 0; i < N; ++i)
        out[i] = static_cast<std::uint8_t>(bytes->at(static_cast<qsizetype>(i)));
    return true;
}

QString Hex(const std::uint8_t* data, std::size_t size)
{
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))
            .toHex(' ')
            .toUpper());
}

int LineAt(const QByteArray& text, qsizetype offset)
{
    return 1 + static_cast<int>(text.left(offset).count('\n'));
}

// Finds the lines of JSON values by searching the source from a moving start,
// so repeated values are matched in order.
class LineFinder
{
public:
    explicit LineFinder(const QByteArray& text) : m_text(text) {}

    int Find(const QByteArray& needle)
    {
        const qsizetype at = m_text.indexOf(needle, m_from);
        if (at < 0)
            return LineAt(m_text, m_from);
        m_from = at + needle.size();
        return LineAt(m_text, at);
    }

    void SkipTo(const QByteArray& key) { Find("\"" + key + "\""); }

private:
    const QByteArray& m_text;
    qsizetype m_from = 0;
};

QString LineError(int line, const QString& what)
{
    return QStringLiteral("%1行目: %2").arg(line).arg(what);
}

bool ParseSystemCode(const QJsonValue& value, std::uint16_t& code)
{
    if (value.isDouble()) {
        const double number = value.toDouble();
        if (number < 0 || number > 0xFFFF || number != static_cast<int>(number))
            return false;
        code = static_cast<std::uint16_t>(number);
        return true;
    }
    bool ok = false;
    const uint parsed = value.toString().trimmed().toUInt(&ok, 16);
    if (!ok || parsed > 0xFFFF)
        return false;
    code = static_cast<std::uint16_t>(parsed);
    return true;
}

std::optional<CardImage> ParseJson(const QByteArray& text, QString* error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *error = LineError(LineAt(text, parseError.offset), parseError.errorString());
        return std::nullopt;
    }
    if (!document.isObject()) {
        *error = LineError(
            1, QStringLiteral("カードイメージは JSON のオブジェクトでなければなりません。"));
        return std::nullopt;
    }
    const QJsonObject object = document.object();
    CardImage image;
    LineFinder lines(text);

    const QJsonValue idm = object.value(QLatin1String("idm"));
    if (!idm.isString()) {
        *error = QStringLiteral("カードイメージに \"idm\" がありません。");
        return std::nullopt;
    }
    if (!ParseFixed(idm.toString(), image.idm)) {
        lines.SkipTo("idm");
        *error = LineError(lines.Find(idm.toString().toUtf8()),
                           QStringLiteral("\"idm\" は16進数8バイトでなければなりません。"));
        return std::nullopt;
    }

    const QJsonValue pmm = object.value(QLatin1String("pmm"));
    if (!pmm.isUndefined() && (!pmm.isString() || !ParseFixed(pmm.toString(), image.pmm))) {
        LineFinder at(text);
        at.SkipTo("pmm");
        *error = LineError(at.Find(pmm.toString().toUtf8()),
                           QStringLiteral("\"pmm\" は16進数8バイトでなければなりません。"));
        return std::nullopt;
    }

    const QJsonValue codes = object.value(QLatin1String("systemCodes"));
    if (codes.isUndefined()) {
        image.systemCodes.push_back(CardImage::kTransitSystemCode);
    } else {
        LineFinder at(text);
        at.SkipTo("systemCodes");
        if (!codes.isArray()) {
            *error = LineError(at.Find("systemCodes"),
                               QStringLiteral("\"systemCodes\" はリストでなければなりません。"));
            return std::nullopt;
        }
        for (const QJsonValue& value : codes.toArray()) {
            std::uint16_t code = 0;
            if (!ParseSystemCode(value, code)) {
                *error =
                    LineError(at.Find(value.toString().toUtf8()),
                              QStringLiteral("システムコードは16進数4桁でなければなりません。"));
                return std::nullopt;
            }
            image.systemCodes.push_back(code);
        }
    }

    const QJsonValue history = object.value(QLatin1String("history"));
    LineFinder at(text);
    at.SkipTo("history");
    if (!history.isArray()) {
        *error = QStringLiteral("カードイメージに \"history\" のリストがありません。");
        return std::nullopt;
    }
    const QJsonArray blocks = history.toArray();
    for (qsizetype i = 0; i < blocks.size(); ++i) {
        const QJsonValue value = blocks.at(i);
        HistoryBlock block{};
        const int line = at.Find(value.toString().toUtf8());
        if (!value.isString() || !ParseFixed(value.toString(), block)) {
            *error = LineError(
                line,
                QStringLiteral("履歴ブロック %1 は16進数16バイトでなければなりません。").arg(i));
            return std::nullopt;
        }
        image.history.push_back(block);
    }
    return image;
}

std::optional<CardImage> ParseDump(const QByteArray& text, QString* error)
{
    static const QRegularExpression kUid(QStringLiteral("^UID:\\s*(.*)$"));
    static const QRegularExpression kPmm(QStringLiteral("^Manufacture parameter:\\s*(.*)$"));
    static const QRegularExpression kSystem(
        QStringLiteral("^System\\s+[0-9A-Fa-f]+:\\s*([0-9A-Fa-f]{4})\\s*$"));
    static const QRegularExpression kBlock(
        QStringLiteral("^Block\\s+[0-9A-Fa-f]+:\\s*\\|\\s*Service code\\s+([0-9A-Fa-f]{4})\\s*\\|"
                       "\\s*Block index\\s+[0-9A-Fa-f]+\\s*\\|\\s*Data:\\s*([0-9A-Fa-f ]*?)\\s*\\|?"
                       "\\s*$"));

    CardImage image;
    bool haveUid = false;
    const QList<QByteArray> rows = text.split('\n');
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const int lineNumber = static_cast<int>(i) + 1;
        const QString row = QString::fromUtf8(rows.at(i)).trimmed();
        if (const auto m = kUid.match(row); m.hasMatch()) {
            if (!ParseFixed(m.captured(1), image.idm)) {
                *error = LineError(lineNumber,
                                   QStringLiteral("UID は16進数8バイトでなければなりません。"));
                return std::nullopt;
            }
            haveUid = true;
        } else if (const auto m = kPmm.match(row); m.hasMatch()) {
            if (!ParseFixed(m.captured(1), image.pmm)) {
                *error = LineError(
                    lineNumber,
                    QStringLiteral("Manufacture parameter は16進数8バイトでなければなりません。"));
                return std::nullopt;
            }
        } else if (const auto m = kSystem.match(row); m.hasMatch()) {
            image.systemCodes.push_back(
                static_cast<std::uint16_t>(m.captured(1).toUInt(nullptr, 16)));
        } else if (row.startsWith(QLatin1String("Block "))) {
            const auto block = kBlock.match(row);
            if (!block.hasMatch()) {
                *error = LineError(lineNumber, QStringLiteral("ブロックの行を読み取れません。"));
                return std::nullopt;
            }
            if (block.captured(1).toUInt(nullptr, 16) != CardImage::kHistoryServiceCode)
                continue;
            HistoryBlock data{};
            if (!ParseFixed(block.captured(2), data)) {
                *error = LineError(
                    lineNumber, QStringLiteral("ブロックは16進数16バイトでなければなりません。"));
                return std::nullopt;
            }
            image.history.push_back(data);
        }
    }
    if (!haveUid) {
        *error = QStringLiteral("ダンプに \"UID:\" の行がありません。");
        return std::nullopt;
    }
    if (image.systemCodes.empty())
        image.systemCodes.push_back(CardImage::kTransitSystemCode);
    return image;
}
} // namespace

std::optional<CardImage> CardImage::Parse(const QByteArray& text, QString* error)
{
    QString ignored;
    QString& why = error ? *error : ignored;
    const QByteArray start = text.trimmed().left(1);
    if (start == "{" || start == "[")
        return ParseJson(text, &why);
    return ParseDump(text, &why);
}

std::optional<CardImage> CardImage::Load(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QString why;
    auto image = Parse(file.readAll(), &why);
    if (!image && error)
        *error = QStringLiteral("%1: %2").arg(path, why);
    return image;
}

QByteArray CardImage::ToJson() const
{
    QJsonObject object;
    object.insert(QLatin1String("idm"), Hex(idm.data(), idm.size()));
    object.insert(QLatin1String("pmm"), Hex(pmm.data(), pmm.size()));
    QJsonArray codes;
    for (std::uint16_t code : systemCodes)
        codes.append(QStringLiteral("%1").arg(code, 4, 16, QLatin1Char('0')).toUpper());
    object.insert(QLatin1String("systemCodes"), codes);
    QJsonArray blocks;
    for (const HistoryBlock& block : history)
        blocks.append(Hex(block.data(), block.size()));
    object.insert(QLatin1String("history"), blocks);
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}
