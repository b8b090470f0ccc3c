// The vendor library's nine entry points over the card image named by
// FENWIR_CARD_IMAGE. FENWIR_FELICA_SIM_FAULT may hold "open-fails",
// "not-alive", "dispose-fails" or "error98:N" (the read of block N fails with
// error type 0x98).
#include "FelicaLibraryApi.h"
#include "VirtualCard.h"

#include <QString>
#include <cstring>
#include <memory>
#include <optional>

#define FELICA_EXPORT extern "C" FENWIR_EXPORT

namespace
{
struct Simulation {
    std::unique_ptr<VirtualCard> card;
    bool initialised = false;
    bool open = false;
    std::uint32_t lastError = 0;
    int error98At = -1;
};

Simulation& Sim()
{
    static Simulation simulation;
    return simulation;
}

QString Fault()
{
    return qEnvironmentVariable("FENWIR_FELICA_SIM_FAULT");
}
} // namespace

FELICA_EXPORT int initialize_library()
{
    Simulation& sim = Sim();
    auto image = CardImage::Load(qEnvironmentVariable("FENWIR_CARD_IMAGE"), nullptr);
    sim.card = image ? std::make_unique<VirtualCard>(std::move(*image)) : nullptr;
    sim.error98At = Fault().startsWith(QLatin1String("error98:")) ? Fault().mid(8).toInt() : -1;
    sim.initialised = true;
    return 1;
}

FELICA_EXPORT int dispose_library()
{
    Simulation& sim = Sim();
    if (!sim.initialised || Fault() == QLatin1String("dispose-fails"))
        return 0;
    sim = Simulation{};
    return 1;
}

FELICA_EXPORT int open_reader_writer_auto()
{
    Simulation& sim = Sim();
    if (!sim.initialised || Fault() == QLatin1String("open-fails"))
        return 0;
    sim.open = true;
    return 1;
}

FELICA_EXPORT int polling_and_get_card_information(const felica_polling* request,
                                                   std::uint8_t* cards,
                                                   felica_card_information* info)
{
    Simulation& sim = Sim();
    *cards = 0;
    if (!sim.open || !sim.card)
        return 0;
    const auto code =
        static_cast<std::uint16_t>(request->system_code[0] << 8 | request->system_code[1]);
    if (!sim.card->AnswersSystem(code))
        return 0;
    *cards = 1;
    std::memcpy(info->card_idm, sim.card->Image().idm.data(), 8);
    std::memcpy(info->card_pmm, sim.card->Image().pmm.data(), 8);
    return 1;
}

FELICA_EXPORT int read_block_without_encryption(const felica_read_request* request,
                                                felica_read_result* result)
{
    Simulation& sim = Sim();
    sim.lastError = 0;
    if (!sim.open || !sim.card)
        return 0;
    // A request a real card would not answer (another card's IDm, more than
    // one service or block, a block-list element other than 0x80 nn) fails
    // as a read error.
    if (std::memcmp(request->card_idm, sim.card->Image().idm.data(), 8) != 0 ||
        request->number_of_services != 1 || request->number_of_blocks != 1 ||
        request->block_list[0] != 0x80) {
        sim.lastError = kFelicaReadFailed;
        return 0;
    }
    const auto service = static_cast<std::uint16_t>(request->service_code_list[1] << 8 |
                                                    request->service_code_list[0]);
    const int number = request->block_list[1];
    const auto block = sim.card->Block(number);
    if (number == sim.error98At || service != CardImage::kHistoryServiceCode || !block) {
        sim.lastError = number == sim.error98At ? kFelicaReadFailed : 0;
        *result->status_flag_1 = 0x01;
        *result->status_flag_2 = 0xA2;
        return 0;
    }
    *result->status_flag_1 = 0;
    *result->status_flag_2 = 0;
    *result->result_number_of_blocks = 1;
    std::memcpy(result->block_data, block->data(), 16);
    return 1;
}

FELICA_EXPORT int get_last_error_types(std::uint32_t* first, std::uint32_t* second)
{
    *first = 0;
    *second = Sim().lastError;
    return 1;
}

FELICA_EXPORT int get_version_information(char* text)
{
    std::strncpy(text, "Fenwir FeliCa simulator 1.0", 255);
    return 1;
}

FELICA_EXPORT int get_version_number(std::uint32_t* version)
{
    *version = 100;
    return 1;
}

FELICA_EXPORT int reader_writer_is_alive(std::uint32_t* alive)
{
    *alive = Sim().open && Fault() != QLatin1String("not-alive") ? 1 : 0;
    return 1;
}
