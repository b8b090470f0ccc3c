#pragma once

#include "CReaderMod.h"
#include "FelicaLibraryApi.h"
#include "VendorLibrary.h"

// A reader served by the vendor's FeliCa library, loaded at run time from a
// given path. A library that lacks any entry point Open, Close, Polling or
// ReadBlocks need counts as not available, so no absent one is ever called.
class CPasoriMod : public CReaderMod
{
public:
    explicit CPasoriMod(const QString& libraryPath);
    ~CPasoriMod() override;

    int Open() override;
    int Close() override;
    int Polling(CardId& idm, CardId& pmm, std::uint16_t systemCode, std::uint8_t timeSlot,
                std::uint8_t spare) override;
    int ReadBlocks(const CardId& idm, std::uint16_t serviceCode, std::uint16_t systemCode,
                   HistoryBlocks& blocks, std::uint8_t maxCount) override;
    int IsAvailable() override;
    int IsOpen() override { return m_opened; }
    QString GetName() override;
    int GetVersion() override;
    int IsAlive() override;

    // FENWIR_FELICA_LIBRARY when set, else the system's place for it
    // (libfelica.so in the program's folder; felica.dll on Windows).
    static QString DefaultLibraryPath();

private:
    template <typename F> F Resolve(const char* name)
    {
        return reinterpret_cast<F>(m_library.Resolve(name));
    }

    VendorLibrary m_library;
    felica_initialize_library m_initialize = nullptr;
    felica_dispose_library m_dispose = nullptr;
    felica_open_reader_writer_auto m_openReader = nullptr;
    felica_polling_and_get_card_information m_polling = nullptr;
    felica_read_block_without_encryption m_readBlock = nullptr;
    felica_get_last_error_types m_lastErrors = nullptr;
    felica_get_version_information m_versionText = nullptr;
    felica_get_version_number m_versionNumber = nullptr;
    felica_reader_writer_is_alive m_isAlive = nullptr;
    int m_opened = 0;
};
