#include "ReaderSurvey.h"

#include "CFelicaMod.h"
#include "CPasoriMod.h"
#include "CPcscPart3.h"
#include "KnownReaders.h"
#include "PcscApi.h"
#include "PcscFamilies.h"
#include "ReaderPlatform.h"
#include "ReaderSelection.h"
#include "UsbBus.h"
#include "UsbReaders.h"

namespace
{
QString Hex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

// How a PC/SC reader would be read, as the selection decides it.
void Classify(PcscApi& pcsc, SCARDCONTEXT context, const QString& name, bool cardOn,
              const QByteArray& atr, ReaderSurvey::Entry& entry)
{
    if (const int model = KnownReaders::ModelIndex(name)) {
        entry.how = QStringLiteral("名前で認識 (表の %1 行目): %2")
                        .arg(model)
                        .arg(KnownReaders::Describe(model));
        return;
    }
    if (cardOn) {
        if (CPcscPart3(pcsc, name).Probe() == CPcscPart3::ProbeResult::Accepted) {
            entry.how = KnownReaders::Describe(KnownReaders::kPart3Model);
            return;
        }
        if (const int model = PcscFamilies::Find(pcsc, context, name)) {
            entry.how = KnownReaders::Describe(model);
            return;
        }
        entry.whyNot =
            PcscFamilies::IsFelicaAtr(atr)
                ? QStringLiteral("FeliCa カードですが、リーダーがどの読み方にも応じません。")
                : QStringLiteral("置かれているのは FeliCa カードではありません。");
        return;
    }
    if (const int model = PcscFamilies::ByName(name)) {
        entry.how = KnownReaders::Describe(model);
        return;
    }
    if (PcscFamilies::LooksContactless(name)) {
        entry.how = KnownReaders::Describe(KnownReaders::kPart3Model);
        entry.note =
            QStringLiteral("名前から非接触リーダーと見なしました。カードを置くと確かめます。");
        return;
    }
    entry.whyNot = QStringLiteral(
        "FeliCa を読めるリーダーと分かりません (カードを置いて確かめ直してください)。");
}

QString Describe(const UsbDeviceInfo& device)
{
    return QStringLiteral("%1 (%2:%3)")
        .arg(device.location)
        .arg(device.vendor, 4, 16, QLatin1Char('0'))
        .arg(device.product, 4, 16, QLatin1Char('0'));
}
} // namespace

ReaderSurvey ReaderSurvey::Take(ReaderEnvironment& environment)
{
    ReaderSurvey survey;
    survey.SurveyPcsc(environment);
    survey.SurveyUsb(environment);
    survey.SurveyVendorLibrary(environment);
    survey.Choose(environment);
    return survey;
}

void ReaderSurvey::SurveyPcsc(ReaderEnvironment& environment)
{
    PcscApi& pcsc = environment.pcsc;
    const QString service = ReaderPlatform::PcscServiceName();
    Section section{QStringLiteral("PC/SC (%1)").arg(service), {}, {}};
    SCARDCONTEXT context = 0;
    const LONG established = pcsc.EstablishContext(context);
    if (established != SCARD_S_SUCCESS) {
        m_pcscStopped = established == SCARD_E_NO_SERVICE;
        section.state =
            m_pcscStopped
                ? QStringLiteral("サービスに接続できません (%1 が動いていません)。").arg(service)
                : QStringLiteral("使えません (エラー 0x%1)。")
                      .arg(static_cast<quint32>(established), 8, 16, QLatin1Char('0'));
        m_sections.push_back(section);
        return;
    }
    QStringList readers;
    pcsc.ListReaders(context, readers);
    section.state = readers.isEmpty() ? QStringLiteral("動作中。リーダーはありません。")
                                      : QStringLiteral("動作中。");
    for (const QString& name : readers) {
        Entry entry{name, {}, {}, {}, {}};
        PcscApi::ReaderState state;
        const bool known =
            pcsc.GetStatusChange(context, name, SCARD_STATE_UNAWARE, 0, state) == SCARD_S_SUCCESS;
        const bool cardOn = known && (state.eventState & SCARD_STATE_PRESENT) != 0;
        entry.detail = cardOn ? QStringLiteral("カードあり (ATR %1)").arg(Hex(state.atr))
                              : QStringLiteral("カードなし");
        Classify(pcsc, context, name, cardOn, state.atr, entry);
        section.entries.push_back(entry);
    }
    pcsc.ReleaseContext(context);
    m_sections.push_back(section);
}

void ReaderSurvey::SurveyUsb(ReaderEnvironment& environment)
{
    Section section{QStringLiteral("USB"), {}, {}};
    if (!environment.usb) {
        section.state = QStringLiteral("調べません。");
        m_sections.push_back(section);
        return;
    }
    const std::vector<UsbDeviceInfo> devices = environment.usb->Devices();
    section.state = environment.usb->Describe() +
                    (devices.empty() ? QStringLiteral("。対応するリーダーはありません。")
                                     : QStringLiteral("。"));
    for (const UsbDeviceInfo& device : devices) {
        const auto model = UsbReaders::Find(device.vendor, device.product);
        Entry entry{QString::fromLatin1(model->name), Describe(device), {}, {}, {}};
        if (device.access == UsbDeviceInfo::Access::DriverOwned) {
            entry.whyNot =
                QStringLiteral("メーカーのドライバーが使っています (WinUSB ではありません)。"
                               "ベンダーの FeliCa ライブラリがあれば、それで読みます。");
        } else if (device.access == UsbDeviceInfo::Access::NoPermission) {
            m_usbLocked = true;
            entry.whyNot = QStringLiteral(
                "開く権限がありません。udev の規則を入れて (パッケージなら入っています)"
                "、リーダーを差し直してください。README の「Card readers」を参照。");
        } else {
            entry.how = UsbReaders::Describe(model->chip);
        }
        if (!device.kernelDriver.isEmpty())
            entry.note =
                QStringLiteral("カーネルのドライバ %1 が使っています。読むあいだだけ外します。")
                    .arg(device.kernelDriver);
        section.entries.push_back(entry);
    }
    m_sections.push_back(section);
}

void ReaderSurvey::SurveyVendorLibrary(ReaderEnvironment& environment)
{
    Section section{QStringLiteral("ベンダーの FeliCa ライブラリ"), {}, {}};
    const bool available = CPasoriMod(environment.vendorLibrary).IsAvailable() != 0;
    section.state = available ? QStringLiteral("%1 を使えます。").arg(environment.vendorLibrary)
                              : QStringLiteral("ありません (%1)。").arg(environment.vendorLibrary);
    m_sections.push_back(section);
}

void ReaderSurvey::Choose(ReaderEnvironment& environment)
{
    CFelicaMod holder;
    if (FindPcscReader(holder, environment) == SCARD_S_SUCCESS) {
        m_chosen = holder.readerName;
        return;
    }
    for (const Section& section : m_sections)
        if (section.title == QLatin1String("USB"))
            for (const Entry& entry : section.entries)
                if (!entry.how.isEmpty() && m_chosen.isEmpty())
                    m_chosen = entry.name;
    if (!m_chosen.isEmpty())
        return;
    if (CPasoriMod(environment.vendorLibrary).IsAvailable()) {
        m_chosen = QStringLiteral("ベンダーの FeliCa ライブラリ");
        return;
    }
    if (m_usbLocked)
        m_advice =
            QStringLiteral("USB のリーダーを開く権限がありません。udev の規則を入れてください。");
    else if (m_pcscStopped)
        m_advice = QStringLiteral("カードリーダーが見つかりません。") + ServiceStoppedAdvice() +
                   QStringLiteral("\n\n") + ReaderPlatform::ServiceStoppedDetails();
    else
        m_advice =
            QStringLiteral("使えるカードリーダーが見つかりません。リーダーを差し、"
                           "README の「Card readers」の表で読み方と準備を確かめてください。");
}

QString ReaderSurvey::Text() const
{
    QString text;
    for (const Section& section : m_sections) {
        text += QStringLiteral("%1: %2\n").arg(section.title, section.state);
        for (const Entry& entry : section.entries) {
            text += QStringLiteral("  %1\n").arg(entry.name);
            if (!entry.detail.isEmpty())
                text += QStringLiteral("    %1\n").arg(entry.detail);
            if (!entry.how.isEmpty())
                text += QStringLiteral("    読み方: %1\n").arg(entry.how);
            if (!entry.whyNot.isEmpty())
                text += QStringLiteral("    使いません: %1\n").arg(entry.whyNot);
            if (!entry.note.isEmpty())
                text += QStringLiteral("    注: %1\n").arg(entry.note);
        }
    }
    text += QLatin1Char('\n');
    if (!m_chosen.isEmpty())
        text += QStringLiteral("読み取りに使うリーダー: %1\n").arg(m_chosen);
    else
        text += m_advice + QLatin1Char('\n');
    return text;
}
