#include "HistoryFolder.h"

#include "Folders.h"

#include <QDir>
#include <QFileInfo>

namespace
{
const QString kFolderName = QStringLiteral("ApplyHistory");
// The longest name the history gives a file of its own, with the suffix of a
// file being written: "Apply-damaged-261130-091500-100.hst.XXXXXX" and less.
constexpr qsizetype kLongestName = 48;

QString Refusal(const QString& why)
{
    return why + QStringLiteral("申請の記録と取消はできません。");
}
} // namespace

HistoryFolder HistoryFolder::Find(const QString& defaultPath)
{
    return Locate(defaultPath, false);
}

HistoryFolder HistoryFolder::Make(const QString& defaultPath)
{
    return Locate(defaultPath, true);
}

QString HistoryFolder::File(const QString& name) const
{
    return JoinPath(m_path, name);
}

HistoryFolder HistoryFolder::Locate(const QString& defaultPath, bool make)
{
    HistoryFolder folder;
    if (defaultPath.isEmpty() || QDir::isRelativePath(defaultPath)) {
        folder.m_error =
            Refusal(QStringLiteral("申請履歴の保存先「%1」はフォルダーの絶対パスではありません。")
                        .arg(defaultPath));
        return folder;
    }
    const QString path = JoinPath(defaultPath, kFolderName);
    if (path.isEmpty() || JoinPath(path, QString(kLongestName, QLatin1Char('x'))).isEmpty()) {
        folder.m_error =
            Refusal(QStringLiteral("申請履歴のフォルダー %1 はパスが長すぎます。"
                                   "もっと短いパスのフォルダーを保存先にしてください。")
                        .arg(QDir::toNativeSeparators(QDir(defaultPath).filePath(kFolderName))));
        return folder;
    }
    if (!QFileInfo(defaultPath).isDir()) {
        folder.m_error =
            Refusal(QStringLiteral("申請履歴の保存先 %1 が見つかりません。ネットワーク上の"
                                   "フォルダーなら、つながっているか確かめてください。")
                        .arg(QDir::toNativeSeparators(defaultPath)));
        return folder;
    }
    if (make && EnsureSubfolder(defaultPath, kFolderName).isEmpty()) {
        folder.m_error = Refusal(QStringLiteral("申請履歴のフォルダー %1 を作れませんでした。")
                                     .arg(QDir::toNativeSeparators(path)));
        return folder;
    }
    folder.m_path = path;
    return folder;
}
