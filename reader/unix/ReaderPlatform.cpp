#include "ReaderPlatform.h"

#include "Folders.h"
#include "LibusbBus.h"
#include "SocketUsbBus.h"

QString ReaderPlatform::PcscServiceName()
{
    return QStringLiteral("pcscd");
}

QString ReaderPlatform::ServiceStoppedAdvice()
{
    return QStringLiteral(
        "\n\nカードリーダーを使うためのサービスが、このパソコンで動いていません。"
        "パソコンの管理者に、カードリーダー用のサービス（PC/SC）を入れて起動するよう"
        "頼んでください。「詳細」に管理者向けの手順があります。");
}

QString ReaderPlatform::ServiceStoppedDetails()
{
    return QStringLiteral(
        "PC/SC サービス (pcscd) が動いていません。次のコマンドで入れて起動できます。\n\n"
        "  sudo apt-get install pcscd\n"
        "  sudo systemctl enable --now pcscd.socket\n\n"
        "詳しくは README の「Card readers」を参照してください。");
}

QString ReaderPlatform::VendorLibraryPath()
{
    return JoinPath(GetModuleFolder(), QStringLiteral("libfelica.so"));
}

QString ReaderPlatform::SimulatedLibraryPath()
{
    return JoinPath(GetModuleFolder(), QStringLiteral("libfenwir-felica-sim.so"));
}

std::unique_ptr<UsbBus> ReaderPlatform::SystemUsb()
{
    const QString socket = qEnvironmentVariable("FENWIR_USB_SOCKET");
    if (socket.isEmpty())
        return std::make_unique<LibusbBus>();
    return std::make_unique<SocketUsbBus>(socket);
}
