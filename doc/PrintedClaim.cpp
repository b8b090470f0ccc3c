#include "PrintedClaim.h"

#include "CCorvaneDoc.h"
#include "ClaimRules.h"
#include "TextFormat.h"

QString PrintedClaim::StatusText() const
{
    return QStringLiteral("申請を記録しました (%1円)").arg(FormatYen(total));
}

QString PrintedClaim::NotRecordedText() const
{
    return QStringLiteral("印刷しましたが、申請として記録できませんでした。\n%1\n"
                          "明細のチェックと交通費ファイルは印刷前のままです。"
                          "原因を取り除いて（ディスクの空き、申請履歴の保存先）から、"
                          "もう一度印刷してください。")
        .arg(error);
}

PrintedClaim RecordPrintedClaim(CCorvaneDoc& doc, const std::vector<const EntryInfo*>& printed,
                                const std::function<bool()>& save, const ApplyRecord& stamp)
{
    PrintedClaim result;
    if (printed.empty()) {
        result.error = QStringLiteral("印刷した明細がありません。");
        return result;
    }
    if (!doc.RecordApplication(printed, &result.error, stamp))
        return result;
    result.recorded = true;
    result.id = doc.LastRecordedId();
    result.total = ClaimedTotal(printed);
    result.lineCount = printed.size();
    doc.ClearMarks(printed, QStringLiteral("申請済みのチェックを外す"));
    if (save)
        result.saved = save();
    return result;
}
