#include "ChildProcess.h"

#include "Folders.h"

#include <QDir>
#include <QSettings>
#include <map>

// The program's settings are the user's registry key, which no environment
// moves: the key's folder values are pointed at the home folder for the run,
// and the key as the user had it comes back when the tests end.
namespace
{
std::unique_ptr<QSettings> UserKey()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Norkel"), QStringLiteral("Fenwir_Lite"));
}

class KeptKey
{
public:
    KeptKey()
    {
        const auto key = UserKey();
        for (const QString& name : key->allKeys())
            m_values[name] = key->value(name);
    }
    ~KeptKey()
    {
        const auto key = UserKey();
        key->clear();
        for (const auto& [name, value] : m_values)
            key->setValue(name, value);
    }

private:
    std::map<QString, QVariant> m_values;
};

// Points the key's folders at this home, once: every start of one test
// shares its home, and what the test set since.
void GiveKeyTo(const QString& home)
{
    static KeptKey kept;
    static QString given;
    if (home == given)
        return;
    given = home;
    const QString documents = home + QStringLiteral("/Documents/Fenwir Lite");
    QDir().mkpath(documents);
    const auto key = UserKey();
    key->clear();
    key->beginGroup(QStringLiteral("Settings/Profile"));
    for (const char* folder : {"DefaultPath", "EntryPath", "FormatPath", "CsvSavePath"})
        key->setValue(QLatin1String(folder), QDir::toNativeSeparators(documents));
    key->endGroup();
    key->sync();
}
} // namespace

void ChildProcess::GiveOwnHome(QProcess&, const QString& home)
{
    GiveKeyTo(home);
}

void ChildProcess::SetSetting(const QString& home, const QString& name, const QString& value)
{
    GiveKeyTo(home);
    UserKey()->setValue(QStringLiteral("Settings/Profile/") + name, value);
}

QString ChildProcess::DataFolder(const QString&)
{
    return GetDataFolder();
}

bool ChildProcess::LimitFileSize(QProcess&, qint64)
{
    return false;
}
