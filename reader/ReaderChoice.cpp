#include "ReaderChoice.h"

#include "CPasoriMod.h"
#include "Folders.h"
#include "ReaderPlatform.h"
#include "UsbBus.h"

#include <QFileInfo>

namespace
{
QString ImageOf(const QString& choice)
{
    if (choice == QLatin1String("demo"))
        return JoinPath(GetModuleFolder(), QStringLiteral("demo-card.json"));
    if (choice.startsWith(QLatin1String("image:")))
        return QFileInfo(choice.mid(6)).absoluteFilePath();
    return QString();
}
} // namespace

bool ReaderChoice::IsValid(const QString& choice)
{
    return choice == QLatin1String("auto") || choice == QLatin1String("demo") ||
           (choice.startsWith(QLatin1String("image:")) && choice.size() > 6);
}

ReaderChoice::ReaderChoice(const QString& choice)
    : m_simulated(choice != QLatin1String("auto")),
      m_image(ImageOf(choice)), m_environment{m_simulated ? static_cast<PcscApi&>(m_noPcsc)
                                                          : m_pcsc,
                                              m_simulated ? ReaderPlatform::SimulatedLibraryPath()
                                                          : CPasoriMod::DefaultLibraryPath()}
{
    // The simulated library reads the card image named here.
    if (m_simulated) {
        qputenv("FENWIR_CARD_IMAGE", m_image.toUtf8());
        return;
    }
    m_usb = ReaderPlatform::SystemUsb();
    m_environment.usb = m_usb.get();
}

ReaderChoice::~ReaderChoice() = default;
