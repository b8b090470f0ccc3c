#include "ReaderPlatform.h"

#include "Folders.h"
#include "LibusbBus.h"

#include <QDir>
#include <QFileInfo>
#include <shlobj.h>
#include <windows.h>

namespace
{
QString KnownFolder(REFKNOWNFOLDERID id)
{
    PWSTR path = nullptr;
    QString folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path)))
        folder = QDir::fromNativeSeparators(QString::fromWCharArray(path));
    CoTaskMemFree(path);
    return folder;
}
} // namespace

QString ReaderPlatform::PcscServiceName()
{
    return QStringLiteral("Smart Card サービス");
}

QString ReaderPlatform::ServiceStoppedAdvice()
{
    return QStringLiteral(
        "\n\nカードリーダーを使うためのサービスが動いていません。カードリーダーを"
        "差し直してください。それでも読めないときは、パソコンの管理者に見てもらって"
        "ください。「詳細」に管理者向けの手順があります。");
}

QString ReaderPlatform::ServiceStoppedDetails()
{
    return QStringLiteral("Windows の Smart Card サービス (SCardSvr) が動いていません。リーダーを"
                          "差すと始まります。始まらないときは「サービス」(services.msc) で Smart "
                          "Card の状態と開始の種類を確かめてください。\n\n"
                          "詳しくは README の「Windows」を参照してください。");
}

// The library installed with the reader's own software, under the common
// program files; one put beside the program comes first, and without
// either the system's search path is tried.
QString ReaderPlatform::VendorLibraryPath()
{
    const QString beside = JoinPath(GetModuleFolder(), QStringLiteral("felica.dll"));
    if (QFileInfo(beside).isFile())
        return beside;
    const QString common = KnownFolder(FOLDERID_ProgramFilesCommon);
    const QString installed =
        JoinPath(common, QStringLiteral("Sony Shared/FeliCaLibrary/felica.dll"));
    if (!common.isEmpty() && QFileInfo(installed).isFile())
        return installed;
    return QStringLiteral("felica.dll");
}

QString ReaderPlatform::SimulatedLibraryPath()
{
    return JoinPath(GetModuleFolder(), QStringLiteral("libfenwir-felica-sim.dll"));
}

std::unique_ptr<UsbBus> ReaderPlatform::SystemUsb()
{
    return std::make_unique<LibusbBus>();
}
