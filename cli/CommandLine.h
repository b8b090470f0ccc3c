#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

// The words after a command: options that take a value, flags, and the rest.
class CommandLine
{
public:
    // valueOptions and flags name what the command accepts ("--items", "--json").
    CommandLine(const QStringList& words, const QSet<QString>& valueOptions,
                const QSet<QString>& flags);

    bool IsValid() const { return m_error.isEmpty(); }
    QString Error() const { return m_error; }
    bool Flag(const QString& name) const { return m_flags.contains(name); }
    std::optional<QString> Option(const QString& name) const;
    const QStringList& Positionals() const { return m_positionals; }

private:
    QHash<QString, QString> m_options;
    QSet<QString> m_flags;
    QStringList m_positionals;
    QString m_error;
};
