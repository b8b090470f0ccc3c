#include "CPasoriMod.h"

#include "ReaderPlatform.h"
#include "ShiftJis.h"

#include <QByteArrayView>
#include <cstring>

QString CPasoriMod::DefaultLibraryPath()
{
    const QString chosen = qEnvironmentVariable("FENWIR_FELICA_LIBRARY");
    if (!chosen.isEmpty())
        return chosen;
    return ReaderPlatform::VendorLibraryPath();
}

CPasoriMod::CPasoriMod(const QString& libraryPath)
{
    if (!m_library.Load(libraryPath))
        return;
    m_initialize = Resolve<felica_initialize_library>("initialize_library");
    m_dispose = Resolve<felica_dispose_library>("dispose_library");
    m_openReader = Resolve<felica_open_reader_writer_auto>("open_reader_writer_auto");
    m_polling =
        Resolve<felica_polling_and_get_card_information>("polling_and_get_card_information");
    m_readBlock = Resolve<felica_read_block_without_encryption>("read_block_without_encryption");
    m_lastErrors = Resolve<felica_get_last_error_types>("get_last_error_types");
    m_versionText = Resolve<felica_get_version_information>("get_version_information");
    m_versionNumber = Resolve<felica_get_version_number>("get_version_number");
    m_isAlive = Resolve<felica_reader_writer_is_alive>("reader_writer_is_alive");
}

CPasoriMod::~CPasoriMod()
{
    if (m_opened && IsAvailable() && IsOpen() && m_dispose() != 0)
        m_opened = 0;
    m_library.Unload();
}

int CPasoriMod::IsAvailable()
{
    const bool complete =
        m_initialize && m_dispose && m_openReader && m_polling && m_readBlock && m_lastErrors;
    return m_library.IsLoaded() && complete ? 1 : 0;
}

int CPasoriMod::Open()
{
    if (!IsAvailable())
        return 0;
    if (IsOpen())
        return 1;
    if (m_initialize() == 0)
        return 0;
    if (m_openReader() != 0) {
        m_opened = 1;
        return 1;
    }
    m_dispose();
    return 0;
}

int CPasoriMod::Close()
{
    if (!IsAvailable())
        return 0;
    if (m_opened) {
        if (m_dispose() == 0)
            return 0;
        m_opened = 0;
    }
    return 1;
}

int CPasoriMod::Polling(CardId& idm, CardId& pmm, std::uint16_t systemCode, std::uint8_t timeSlot,
                        std::uint8_t)
{
    if (!IsAvailable())
        return 0;
    const std::uint8_t code[2] = {static_cast<std::uint8_t>(systemCode >> 8),
                                  static_cast<std::uint8_t>(systemCode & 0xFF)};
    const felica_polling request{code, timeSlot};
    CardId foundIdm{};
    CardId foundPmm{};
    felica_card_information info{foundIdm.data(), foundPmm.data()};
    std::uint8_t cards = 0;
    if (m_polling(&request, &cards, &info) == 0 || cards < 1)
        return 0;
    idm = foundIdm;
    pmm = foundPmm;
    return 1;
}

int CPasoriMod::ReadBlocks(const CardId& idm, std::uint16_t serviceCode, std::uint16_t,
                           HistoryBlocks& blocks, std::uint8_t maxCount)
{
    if (!IsAvailable())
        return 0;
    const std::uint8_t service[2] = {static_cast<std::uint8_t>(serviceCode & 0xFF),
                                     static_cast<std::uint8_t>(serviceCode >> 8)};
    std::uint8_t blockList[2] = {0x80, 0};
    const felica_read_request request{idm.data(), 1, service, 1, blockList};
    for (int n = 0; n < maxCount; ++n) {
        HistoryBlock block{};
        std::uint8_t flag1 = 0, flag2 = 0, count = 0;
        felica_read_result result{&flag1, &flag2, &count, block.data()};
        blockList[1] = static_cast<std::uint8_t>(n);
        if (m_readBlock(&request, &result) == 0 || flag1 != 0)
            break; // the first block beyond the history
        if (block[0] == 0 && block[1] == 0)
            break;
        blocks.push_back(block);
    }
    std::uint32_t first = 0, second = 0;
    m_lastErrors(&first, &second);
    if (second == kFelicaReadFailed) {
        blocks.clear();
        return 0;
    }
    return 1;
}

QString CPasoriMod::GetName()
{
    if (!m_library.IsLoaded() || !m_versionText)
        return QString();
    char text[256];
    std::memset(text, 0, sizeof text);
    if (m_versionText(text) == 0)
        return QString();
    return DecodeShiftJis(QByteArrayView(text, static_cast<qsizetype>(strnlen(text, sizeof text))));
}

int CPasoriMod::GetVersion()
{
    if (!m_library.IsLoaded() || !m_versionNumber)
        return 0;
    std::uint32_t version = 0;
    m_versionNumber(&version);
    return static_cast<int>(version);
}

int CPasoriMod::IsAlive()
{
    if (!m_library.IsLoaded() || !m_isAlive)
        return 0;
    std::uint32_t alive = 0;
    m_isAlive(&alive);
    return alive != 0 ? 1 : 0;
}
