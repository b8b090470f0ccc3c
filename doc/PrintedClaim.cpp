#include "PrintedClaim.h"

#include "CCorvaneDoc.h"
#include "ClaimRules.h"
#include "TextFormat.h"

QString PrintedClaim::StatusText() const
{
    return QStringLiteral("申請を記録しました (%1円)").arg(FormatYen(total));
}

PrintedClaim RecordPrintedClaim(CCorvaneDoc& doc, const std::vector<const EntryInfo*>& printed,
                                const std::function<bool()>& save)
{
    PrintedClaim result;
    if (printed.empty() || !doc.RecordApplication(printed))
        return result;
    result.recorded = true;
    result.total = ClaimedTotal(printed);
    result.lineCount = printed.size();
    doc.ClearMarks(printed, QStringLiteral("申請済みのチェックを外す"));
    if (save)
        result.saved = save();
    return result;
}
