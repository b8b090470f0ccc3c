#include "StartGuard.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

namespace
{
void EndOnFatal(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    std::fprintf(stderr, "%s\n", qFormatLogMessage(type, context, text).toLocal8Bit().constData());
    if (type != QtFatalMsg)
        return;
    std::fputs(QStringLiteral("Fenwir Lite は画面を開けないため起動できません。"
                              "デスクトップの中から起動してください（画面なしでは fenwir-cli "
                              "を使います）。\n")
                   .toLocal8Bit()
                   .constData(),
               stderr);
    std::fflush(stderr);
    // Nothing has started that would need an orderly end.
    std::_Exit(StartGuard::kExitStatus);
}
} // namespace

StartGuard::StartGuard()
{
    qInstallMessageHandler(EndOnFatal);
}

StartGuard::~StartGuard()
{
    Release();
}

void StartGuard::Release()
{
    if (m_installed)
        qInstallMessageHandler(nullptr);
    m_installed = false;
}
