#include "SpoolerHold.h"

#include <winspool.h>

QString SpoolerHold::Reason(const QString& printer, DWORD jobStatus, DWORD printerStatus,
                            DWORD printerAttributes)
{
    const auto held = [&](const char* why) { return QString::fromUtf8(why).arg(printer); };
    if (jobStatus & JOB_STATUS_PAUSED)
        return QStringLiteral("ジョブが一時停止されています");
    if ((printerStatus & PRINTER_STATUS_PAUSED))
        return held("プリンター %1 が停止しています（一時停止中）");
    if ((printerStatus & PRINTER_STATUS_OFFLINE) || (jobStatus & JOB_STATUS_OFFLINE))
        return held("プリンター %1 がオフラインです");
    if (printerAttributes & PRINTER_ATTRIBUTE_WORK_OFFLINE)
        return held("プリンター %1 はオフラインで使う設定です");
    if ((printerStatus & PRINTER_STATUS_PAPER_OUT) || (jobStatus & JOB_STATUS_PAPEROUT))
        return held("プリンター %1 の用紙がありません");
    if (printerStatus & PRINTER_STATUS_PAPER_JAM)
        return held("プリンター %1 で紙が詰まっています");
    if (printerStatus & PRINTER_STATUS_DOOR_OPEN)
        return held("プリンター %1 のカバーが開いています");
    if ((printerStatus & PRINTER_STATUS_USER_INTERVENTION) ||
        (jobStatus & JOB_STATUS_USER_INTERVENTION))
        return held("プリンター %1 が操作を待っています");
    if ((printerStatus & (PRINTER_STATUS_ERROR | PRINTER_STATUS_NOT_AVAILABLE)) ||
        (jobStatus & (JOB_STATUS_ERROR | JOB_STATUS_BLOCKED_DEVQ)))
        return held("プリンター %1 がエラーで止まっています");
    return QString();
}
