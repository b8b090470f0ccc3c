#pragma once

// The vendor FeliCa library's entry points and structures, as the reader
// module calls them (C calling convention). Every entry point returns
// non-zero for success.
#include <cstdint>

extern "C" {
struct felica_polling {
    const std::uint8_t* system_code; // 2 bytes, high byte first
    std::uint8_t time_slot;
};

struct felica_card_information {
    std::uint8_t* card_idm; // 8 bytes
    std::uint8_t* card_pmm; // 8 bytes
};

struct felica_read_request {
    const std::uint8_t* card_idm;          // 8 bytes
    std::uint8_t number_of_services;       // always 1
    const std::uint8_t* service_code_list; // 2 bytes, low byte first
    std::uint8_t number_of_blocks;         // always 1
    const std::uint8_t* block_list;        // 0x80, block number
};

struct felica_read_result {
    std::uint8_t* status_flag_1;
    std::uint8_t* status_flag_2;
    std::uint8_t* result_number_of_blocks;
    std::uint8_t* block_data; // 16 bytes
};

using felica_initialize_library = int (*)();
using felica_dispose_library = int (*)();
using felica_open_reader_writer_auto = int (*)();
using felica_polling_and_get_card_information = int (*)(const felica_polling*,
                                                        std::uint8_t* number_of_cards,
                                                        felica_card_information*);
using felica_read_block_without_encryption = int (*)(const felica_read_request*,
                                                     felica_read_result*);
using felica_get_last_error_types = int (*)(std::uint32_t* first, std::uint32_t* second);
using felica_get_version_information = int (*)(char* text /* 256 bytes */);
using felica_get_version_number = int (*)(std::uint32_t* version);
using felica_reader_writer_is_alive = int (*)(std::uint32_t* alive);
}

// The second error type the library reports for a failed block read.
constexpr std::uint32_t kFelicaReadFailed = 0x98;
