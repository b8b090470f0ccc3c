#include "ReaderSurvey.h"

#include "EmulatedUsb.h"
#include "FakePcsc.h"
#include "Port100Emulator.h"
#include "ReaderPersonality.h"
#include "ReaderPlatform.h"
#include "ReaderSelection.h"
#include "TestCards.h"

#include <gtest/gtest.h>

namespace
{
const ReaderSurvey::Entry* Find(const ReaderSurvey& survey, const QString& name)
{
    for (const auto& section : survey.Sections())
        for (const auto& entry : section.entries)
            if (entry.name == name)
                return &entry;
    return nullptr;
}
} // namespace

TEST(ReaderSurvey, SaysHowEachReaderWouldBeReadOrWhyNot)
{
    FakePcsc pcsc;
    const QString acr122 = "ACS ACR122U PICC Interface 00 00";
    const QString contact = "Generic Smart Card Reader 00 00";
    const QString mifare = "Unknown Contactless Reader 00 00";
    const QString part3 = "Sony FeliCa Port/PaSoRi 4.0 00 00";
    pcsc.readers = {"SCR331CL-NTTCom 00 00", acr122, contact, mifare, part3};
    VirtualCard card(TestCard(3));
    auto acr = ReaderPersonality::Create("acr122", card);
    pcsc.placed[acr122] = {acr->Atr(), [&](const QByteArray& apdu) { return acr->Respond(apdu); }};
    pcsc.placed[mifare] = {QByteArray::fromHex("3B8F8001804F0CA000000306030001000000006A"),
                           [](const QByteArray&) { return QByteArray::fromHex("6A81"); }};
    VirtualCard usbCard(TestCard(3));
    Port100Emulator rcs380(usbCard);
    EmulatorBus bus(rcs380);
    bus.access = UsbDeviceInfo::Access::NoPermission;
    ReaderEnvironment environment{pcsc, "/nonexistent/libfelica.so", &bus};

    const ReaderSurvey survey = ReaderSurvey::Take(environment);
    const struct {
        QString name;
        const char* how;
        const char* whyNot;
    } expected[] = {
        {"SCR331CL-NTTCom 00 00", "名前で認識 (表の 1 行目)", nullptr},
        {acr122, "ACR122U 方式", nullptr},
        {contact, nullptr, "FeliCa を読めるリーダーと分かりません"},
        {mifare, nullptr, "FeliCa カードではありません"},
        {part3, "PC/SC Part 3", nullptr},
        {"Sony RC-S380/S", nullptr, "開く権限がありません"},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.name.toStdString());
        const ReaderSurvey::Entry* entry = Find(survey, e.name);
        ASSERT_NE(entry, nullptr);
        if (e.how) {
            EXPECT_TRUE(entry->how.startsWith(QString::fromUtf8(e.how)))
                << entry->how.toStdString();
        } else {
            EXPECT_TRUE(entry->how.isEmpty());
        }
        if (e.whyNot) {
            EXPECT_TRUE(entry->whyNot.contains(QString::fromUtf8(e.whyNot)))
                << entry->whyNot.toStdString();
        }
    }
    EXPECT_EQ(survey.Chosen(), "SCR331CL-NTTCom 00 00");
    EXPECT_TRUE(survey.Text().contains("読み取りに使うリーダー: SCR331CL-NTTCom 00 00"));
    EXPECT_EQ(pcsc.openContexts, 0);
    EXPECT_EQ(pcsc.openCards, 0);
    EXPECT_EQ(bus.opened, 0); // looked at, never opened
}

TEST(ReaderSurvey, WithNothingToUseItSaysWhatToDo)
{
    FakePcsc stopped;
    stopped.establishResult = SCARD_E_NO_SERVICE;
    ReaderEnvironment none{stopped, "/nonexistent/libfelica.so"};
    const ReaderSurvey survey = ReaderSurvey::Take(none);
    EXPECT_TRUE(survey.Chosen().isEmpty());
    EXPECT_TRUE(survey.Advice().contains(ReaderPlatform::ServiceStoppedAdvice()))
        << survey.Advice().toStdString();

    // A USB reader the user may not open: that is what to fix.
    VirtualCard card(TestCard(1));
    Port100Emulator rcs380(card);
    EmulatorBus bus(rcs380);
    bus.access = UsbDeviceInfo::Access::NoPermission;
    ReaderEnvironment locked{stopped, "/nonexistent/libfelica.so", &bus};
    EXPECT_TRUE(ReaderSurvey::Take(locked).Advice().contains("udev"));

    // Once it may be opened, it is the reader a read takes.
    bus.access = UsbDeviceInfo::Access::Usable;
    EXPECT_EQ(ReaderSurvey::Take(locked).Chosen(), "Sony RC-S380/S");
}
