// The stand-ins for cards and readers answer a wrong command with an error,
// as real ones do, so a wrong byte in a reader module cannot pass the tests.
#include "FelicaLibraryApi.h"
#include "ReaderPersonality.h"
#include "VirtualCard.h"

#include <QFile>
#include <QLibrary>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{
CardImage Card()
{
    CardImage image;
    image.idm = {0x01, 0x14, 0x02, 0x12, 0x3A, 0x4B, 0x5C, 0x6D};
    image.pmm = {0x10, 0x0B, 0x4B, 0x42, 0x84, 0x85, 0xD0, 0xFF};
    image.systemCodes = {0x0003};
    for (int n = 0; n < 3; ++n)
        image.history.push_back(HistoryBlock{0x16, 0x01, 0, 0, 0x35, 0x62, 1, 0x10, 1, 0x20, 0xE8,
                                             0x03, 0, 0, static_cast<std::uint8_t>(n), 0});
    return image;
}

QString Status(const QByteArray& reply)
{
    return QString::fromLatin1(reply.right(2).toHex().toUpper());
}
} // namespace

TEST(VirtualCard, AnswersOnlyWellFormedCommands)
{
    const char* idm = "011402123A4B5C6D";
    const struct {
        QByteArray apdu;
        const char* status;
    } cases[] = {
        {QByteArray::fromHex("FF40000004000301"
                             "00"),
         "9000"},
        {QByteArray::fromHex("FF40000104000301"
                             "00"),
         "6B00"}, // P2
        {QByteArray::fromHex("FF40000005000301"
                             "00"),
         "6700"}, // Lc
        {QByteArray::fromHex("FF40000004000301"
                             "01"),
         "6A80"}, // time slot
        {QByteArray::fromHex("FF40000004865E01"
                             "00"),
         "6A81"}, // another system
        {QByteArray::fromHex("FF46010104"
                             "0F09"
                             "8002"),
         "9000"},
        {QByteArray::fromHex("FF46010004"
                             "0F09"
                             "8002"),
         "6B00"}, // P2
        {QByteArray::fromHex("FF46010104"
                             "0F09"
                             "0002"),
         "6A80"}, // not an 80 element
        {QByteArray::fromHex("FF46010103"
                             "0F09"
                             "80"),
         "6700"},
        {QByteArray::fromHex("FFAB0000050000030100"), "9000"},
        {QByteArray::fromHex("FFAB0001050000030100"), "6B00"},
        {QByteArray::fromHex("FFAB00000F06") + QByteArray::fromHex(idm) +
             QByteArray::fromHex("010F09018001"),
         "9000"},
        {QByteArray::fromHex("FFAB00000F06") + QByteArray::fromHex(idm) +
             QByteArray::fromHex("020F09018001"),
         "6A80"}, // two services
        {QByteArray::fromHex("FFAB00000F06") + QByteArray::fromHex(idm) +
             QByteArray::fromHex("010F09010001"),
         "6A80"},
        {QByteArray::fromHex("FFAB00000F06") + QByteArray::fromHex("0000000000000000") +
             QByteArray::fromHex("010F09018001"),
         "6A81"}, // another card's IDm
        {QByteArray::fromHex("FFAB0000010A"), "6A80"},
        {QByteArray::fromHex("FF004181010C"), "9000"},
        {QByteArray::fromHex("FF004181010D"), "6B00"},
        {QByteArray::fromHex("FFC2000002810000"), "9000"},
        {QByteArray::fromHex("FFC2000002850000"), "9000"}, // answered with a failed status
        {QByteArray::fromHex("FFC200000281"), "6700"},
        {QByteArray::fromHex("FFC20002048F02030000"), "9000"},
        {QByteArray::fromHex("FFC2000302000000"), "6B00"},
        {QByteArray::fromHex("FFCA000000"), "6D00"},
        {QByteArray::fromHex("00A4040000"), "6E00"},
        {QByteArray::fromHex("FF40"), "6700"},
    };
    for (const auto& c : cases) {
        VirtualCard card(Card());
        EXPECT_EQ(Status(card.Respond(c.apdu)), QString::fromLatin1(c.status))
            << c.apdu.toHex(' ').toStdString();
    }
}

TEST(SimulatedFelicaLibrary, RefusesReadsARealCardWouldNotAnswer)
{
    QTemporaryDir dir;
    const QString image = dir.filePath("card.json");
    {
        QFile file(image);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Card().ToJson());
    }
    qputenv("FENWIR_CARD_IMAGE", image.toUtf8());
    QLibrary library(QStringLiteral(FENWIR_FELICA_SIM));
    ASSERT_TRUE(library.load()) << library.errorString().toStdString();
    const auto init =
        reinterpret_cast<felica_initialize_library>(library.resolve("initialize_library"));
    const auto open = reinterpret_cast<felica_open_reader_writer_auto>(
        library.resolve("open_reader_writer_auto"));
    const auto read = reinterpret_cast<felica_read_block_without_encryption>(
        library.resolve("read_block_without_encryption"));
    const auto errors =
        reinterpret_cast<felica_get_last_error_types>(library.resolve("get_last_error_types"));
    const auto dispose =
        reinterpret_cast<felica_dispose_library>(library.resolve("dispose_library"));
    ASSERT_TRUE(init && open && read && errors && dispose);
    ASSERT_TRUE(init() && open());

    const CardId idm = Card().idm;
    const CardId other = {9, 9, 9, 9, 9, 9, 9, 9};
    const std::uint8_t service[] = {0x0F, 0x09};
    const struct {
        const char* name;
        const CardId* idm;
        std::uint8_t services, blocks;
        std::uint8_t element;
        bool ok;
    } cases[] = {
        {"well formed", &idm, 1, 1, 0x80, true},
        {"another card", &other, 1, 1, 0x80, false},
        {"two services", &idm, 2, 1, 0x80, false},
        {"two blocks", &idm, 1, 2, 0x80, false},
        {"three-byte element", &idm, 1, 1, 0x00, false},
    };
    for (const auto& c : cases) {
        const std::uint8_t blockList[] = {c.element, 1};
        felica_read_request request{c.idm->data(), c.services, service, c.blocks, blockList};
        std::uint8_t flag1 = 0xFF, flag2 = 0xFF, count = 0;
        std::uint8_t data[16] = {};
        felica_read_result result{&flag1, &flag2, &count, data};
        EXPECT_EQ(read(&request, &result) != 0, c.ok) << c.name;
        std::uint32_t first = 0, second = 0;
        errors(&first, &second);
        EXPECT_EQ(second, c.ok ? 0u : kFelicaReadFailed) << c.name;
    }
    dispose();
    qunsetenv("FENWIR_CARD_IMAGE");
}

// Each reader family's personality answers its own commands as its maker
// documents them, and refuses the others' with an error status.
TEST(ReaderPersonality, AnswersItsOwnFamilysCommandsOnly)
{
    VirtualCard card(Card());
    const QByteArray idm = QByteArray::fromHex("011402123A4B5C6D");
    const QByteArray pmm = QByteArray::fromHex("100B4B428485D0FF");
    const QByteArray rwe0 = QByteArray::fromHex("1006") + idm + QByteArray::fromHex("010F09018000");
    const struct {
        const char* personality;
        QByteArray apdu;
        QByteArray reply;
    } cases[] = {
        // ACR122U: InListPassiveTarget, then InDataExchange with target 1.
        {"acr122", QByteArray::fromHex("FF00000009D44A01010000030100"),
         QByteArray::fromHex("D54B01011401") + idm + pmm + QByteArray::fromHex("00039000")},
        {"acr122", QByteArray::fromHex("FF00000013D44001") + rwe0,
         QByteArray::fromHex("D541001D07") + idm + QByteArray::fromHex("000001") +
             QByteArray::fromHex("16010000356201100120E803000000009000")},
        {"acr122", QByteArray::fromHex("FF4000000400030100"), QByteArray::fromHex("6A81")},
        {"acr122", QByteArray::fromHex("FFC200000281000000"), QByteArray::fromHex("6A81")},
        // ACR1251/1252: the FeliCa frame as it is.
        {"acs-direct", QByteArray::fromHex("FF00000006060000030100"),
         QByteArray::fromHex("1401") + idm + pmm + QByteArray::fromHex("00039000")},
        {"acs-direct", QByteArray::fromHex("FF00000010") + rwe0,
         QByteArray::fromHex("1D07") + idm + QByteArray::fromHex("000001") +
             QByteArray::fromHex("16010000356201100120E803000000009000")},
        {"acs-direct", QByteArray::fromHex("FF00000009D44A01010000030100"),
         QByteArray::fromHex("6700")},
        {"acs-direct", QByteArray::fromHex("FF460101040F098000"), QByteArray::fromHex("6A81")},
        // Identiv / SCM: FF 40 and FF 46.
        {"identiv", QByteArray::fromHex("FF4000000400030100"),
         idm + pmm + QByteArray::fromHex("00039000")},
        {"identiv", QByteArray::fromHex("FF460101040F098000"),
         idm + QByteArray::fromHex("000001") +
             QByteArray::fromHex("16010000356201100120E803000000009000")},
        {"identiv", QByteArray::fromHex("FF460101040F098003"),
         idm + QByteArray::fromHex("01A29000")},
        {"identiv", QByteArray::fromHex("FF00000006060000030100"), QByteArray::fromHex("6D00")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.personality) + " " + c.apdu.toHex(' ').toStdString());
        VirtualCard fresh(Card());
        auto reader = ReaderPersonality::Create(c.personality, fresh);
        ASSERT_NE(reader, nullptr);
        // InDataExchange needs a target listed first.
        if (c.apdu.mid(5, 2) == QByteArray::fromHex("D440"))
            reader->Respond(QByteArray::fromHex("FF00000009D44A01010000030100"));
        EXPECT_EQ(reader->Respond(c.apdu).toHex(' '), c.reply.toHex(' '));
    }
    EXPECT_EQ(ReaderPersonality::Create("other", card), nullptr);
}
