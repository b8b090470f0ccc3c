#include "PromptSaveWithTimestamp.h"

#include "Folders.h"
#include "Prompts.h"
#include "TextFormat.h"

QString PromptSaveWithTimestamp(Prompts& prompts, const QString& prefix, const QString& extension,
                                const QString& folder, const QString& filter)
{
    const QString proposal = JoinPath(folder, MakeTimestampName(prefix, extension));
    QString suffix = extension;
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    return prompts.SaveFileName(QStringLiteral("名前を付けて保存"), proposal, filter, suffix);
}
