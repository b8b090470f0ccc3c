#include "QtTextSupplement.h"

#include <QHash>

namespace
{
const QHash<QString, QString>& Texts()
{
    static const QHash<QString, QString> texts = {
        // The print dialog's page range and its hint.
        {"Pages", "ページ指定"},
        {"Specify pages or ranges separated by commas. Ranges are specified by two numbers "
         "separated by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
         "ページ番号か範囲をカンマで区切って指定します。範囲はハイフンでつないだ2つの番号です。"
         "例: 3,5-7,9 は 3、5、6、7、9 ページを印刷します。"},
        {"Invalid Pages Definition", "ページ指定の誤り"},
        {"%1 does not follow the correct syntax. Please use ',' to separate ranges and pages, "
         "'-' to define ranges and make sure ranges do not intersect with each other.",
         "%1 は正しい書き方ではありません。ページと範囲は「,」で区切り、範囲は「-」で表し、"
         "範囲どうしが重ならないようにしてください。"},
        // Its options: double-sided printing.
        {"Double Sided Printing", "両面印刷"},
        {"Off", "しない"},
        {"Long side binding", "長辺とじ"},
        {"Short side binding", "短辺とじ"},
        // The printer's properties.
        {"Advanced", "詳細設定"},
        {"There are conflicts in some options. Please fix them.",
         "一部のオプションが矛盾しています。修正してください。"},
        {"Advanced Option Conflicts", "詳細設定の矛盾"},
        {"There are conflicts in some advanced options. Do you want to fix them?",
         "一部の詳細設定が矛盾しています。修正しますか?"},
        {"Duplex Settings Conflicts", "両面印刷の設定の矛盾"},
        {"There are conflicts in duplex settings. Do you want to fix them?",
         "両面印刷の設定が矛盾しています。修正しますか?"},
        {"Page Setup Conflicts", "ページ設定の矛盾"},
        {"There are conflicts in page setup options. Do you want to fix them?",
         "ページ設定のオプションが矛盾しています。修正しますか?"},
        // The file dialog's type column.
        {"Folder", "フォルダ"},
        {"Drive", "ドライブ"},
        {"File", "ファイル"},
        {"%1 File", "%1 ファイル"},
    };
    return texts;
}
} // namespace

QString QtTextSupplement::translate(const char*, const char* sourceText, const char*, int) const
{
    return Texts().value(QString::fromUtf8(sourceText));
}
