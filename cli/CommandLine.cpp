#include "CommandLine.h"

CommandLine::CommandLine(const QStringList& words, const QSet<QString>& valueOptions,
                         const QSet<QString>& flags)
{
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words[i];
        if (!word.startsWith(QLatin1String("--")) || word == QLatin1String("--")) {
            m_positionals << word;
            continue;
        }
        QString name = word;
        QString value;
        const qsizetype equals = word.indexOf(QLatin1Char('='));
        const bool inline_ = equals > 0;
        if (inline_) {
            name = word.left(equals);
            value = word.mid(equals + 1);
        }
        if (flags.contains(name) && !inline_) {
            m_flags.insert(name);
        } else if (valueOptions.contains(name)) {
            if (!inline_) {
                if (i + 1 >= words.size()) {
                    m_error = QStringLiteral("%1 には値が必要です。").arg(name);
                    return;
                }
                value = words[++i];
            }
            m_options.insert(name, value);
        } else {
            m_error = QStringLiteral("不明なオプションです: %1").arg(word);
            return;
        }
    }
}

std::optional<QString> CommandLine::Option(const QString& name) const
{
    const auto it = m_options.constFind(name);
    if (it == m_options.constEnd())
        return std::nullopt;
    return it.value();
}
