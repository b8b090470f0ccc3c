#include "AppSettings.h"

#include <QSettings>
#include <gtest/gtest.h>
#include <map>
#include <windows.h>

namespace
{
const wchar_t* const kProfileKey = L"Software\\Norkel\\Fenwir_Lite\\Settings\\Profile";

std::unique_ptr<QSettings> UserKey()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Norkel"), QStringLiteral("Fenwir_Lite"));
}

// The program's registry key as it was, back when the test ends; the tests
// store their settings in a file, this one in the registry itself.
class RegistryStore
{
public:
    RegistryStore()
    {
        const auto key = UserKey();
        for (const QString& name : key->allKeys())
            m_kept[name] = key->value(name);
        QSettings::setDefaultFormat(QSettings::NativeFormat);
    }
    ~RegistryStore()
    {
        QSettings::setDefaultFormat(QSettings::IniFormat);
        const auto key = UserKey();
        key->clear();
        for (const auto& [name, value] : m_kept)
            key->setValue(name, value);
    }

private:
    std::map<QString, QVariant> m_kept;
};

// A value of the profile key as the registry holds it: its type and bytes.
std::pair<DWORD, QByteArray> RawValue(const wchar_t* name)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kProfileKey, name, RRF_RT_ANY | RRF_NOEXPAND, &type,
                     nullptr, &size) != ERROR_SUCCESS)
        return {REG_NONE, {}};
    QByteArray data(static_cast<qsizetype>(size), '\0');
    RegGetValueW(HKEY_CURRENT_USER, kProfileKey, name, RRF_RT_ANY | RRF_NOEXPAND, &type,
                 data.data(), &size);
    return {type, data.left(static_cast<qsizetype>(size))};
}
} // namespace

// On Windows the settings are the user's registry key
// HKEY_CURRENT_USER\Software\Norkel\Fenwir_Lite\Settings\Profile: texts as
// REG_SZ, numbers as REG_DWORD, read back as they were written.
TEST(AppSettingsUserStore, IsTheUsersRegistryKey)
{
    RegistryStore registry;
    AppSettings s;
    s.Load();
    s.Name = QStringLiteral("山田 花子");
    s.PollingTime = 7;
    s.Save();

    const auto [nameType, name] = RawValue(L"Name");
    EXPECT_EQ(nameType, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(QString::fromWCharArray(reinterpret_cast<const wchar_t*>(name.constData())),
              QStringLiteral("山田 花子"));
    const auto [pollingType, polling] = RawValue(L"PollingTime");
    EXPECT_EQ(pollingType, static_cast<DWORD>(REG_DWORD));
    ASSERT_EQ(polling.size(), 4);
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(polling.constData()), 7u);

    AppSettings again;
    again.Load();
    EXPECT_EQ(again.Name, QStringLiteral("山田 花子"));
    EXPECT_EQ(again.PollingTime, 7);
}
