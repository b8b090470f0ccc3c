#include "CsvCommand.h"

#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "CCsvFileDlg.h"
#include "Folders.h"
#include "Prompts.h"
#include "SuggestionPrompt.h"
#include "TextFormat.h"

#include <QFileInfo>

CsvCommand::CsvCommand(CCorvaneDoc& doc, AppSettings& settings, Prompts& prompts, QWidget* window)
    : m_doc(doc), m_settings(settings), m_prompts(prompts)
{
    m_choose = [this, window](const QString& proposal) {
        CCsvFileDlg dialog(m_settings, proposal, window);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    };
}

bool CsvCommand::Run()
{
    const QString proposal = JoinPath(
        m_settings.CsvSavePath, MakeTimestampName(QStringLiteral("Entry"), QStringLiteral(".csv")));
    const QString path = m_choose(proposal);
    if (path.isEmpty())
        return false;
    m_settings.CsvSavePath = QFileInfo(path).absolutePath();
    bool replaced = false;
    const ClaimFilter period = m_period ? m_period() : ClaimFilter();
    if (!SuggestionPrompt::Confirm(m_doc, m_prompts,
                                   m_doc.Data().UnconfirmedVisitsInCsv(m_settings, period),
                                   QStringLiteral("保存")))
        return false;
    if (!m_doc.Data().WriteCsv(m_settings, path, &replaced, period)) {
        m_prompts.Ask(QStringLiteral("CSVファイル %1 を保存できませんでした。").arg(path),
                      Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
        return false;
    }
    if (replaced)
        m_prompts.Ask(
            LostCharactersMessage(path, m_settings.CsvProfile != AppSettings::kCsvHistory),
            Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
    if (m_status)
        m_status(SavedText(path));
    return true;
}

QString CsvCommand::SavedText(const QString& path)
{
    // The name alone: the status bar has no room for a long folder.
    return QStringLiteral("CSVファイル %1 を保存しました").arg(QFileInfo(path).fileName());
}

QString CsvCommand::LostCharactersMessage(const QString& path, bool utf8Offered)
{
    QString text = QStringLiteral("CSVファイル %1 を保存しました。\n"
                                  "Shift-JIS で表せない文字を「?」にしました。")
                       .arg(path);
    if (utf8Offered)
        text += QStringLiteral("\n「オプション...」で文字コードを UTF-8 にすると、"
                               "そのまま保存できます。");
    return text;
}
