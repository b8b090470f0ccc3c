#include "HistoryCommands.h"

#include "CCorvaneDoc.h"
#include "PrintService.h"

#include <QFileDialog>

CApplyHistoryDlg::History HistoryCommands::Access()
{
    CApplyHistoryDlg::History history;
    history.list = [this] { return m_doc.Applications(); };
    history.cancel = [this](const AppliedLines::Application& application, const QString& reason,
                            QString* message) { return Cancel(application, reason, message); };
    history.held = &HistoryCommands::Held;
    history.problem = [this] { return m_doc.HistoryProblem(); };
    history.repair = [this](QString* report) { return m_doc.RepairHistory(report); };
    history.damaged = [this] { return m_doc.History().IsDamaged(); };
    history.chooseFolder = [this] {
        return QFileDialog::getExistingDirectory(m_parent,
                                                 QStringLiteral("書き出し先のフォルダー"));
    };
    history.exportTo = [this](const std::vector<AppliedLines::Application>& applications,
                              const QString& folder) {
        return ApplicationArchive::Export(applications, m_doc.Layout(), folder);
    };
    return history;
}

bool HistoryCommands::Held(const AppliedLines::Application& application)
{
    return !application.cancelled.isValid() && PrintService::IsQueued(application.printJob);
}

bool HistoryCommands::Cancel(const AppliedLines::Application& application, const QString& reason,
                             QString* message)
{
    const ApplyRecord::PrintJob& job = application.printJob;
    if (!m_doc.CancelApplication(application, reason, message))
        return false;
    message->clear();
    if (!PrintService::IsQueued(job))
        return true;
    QString why;
    if (PrintService::Withdraw(job, &why)) {
        *message =
            QStringLiteral("保留されていた印刷（プリンター %1 のジョブ %2）も取り消しました。")
                .arg(job.printer)
                .arg(job.id);
    } else {
        *message = QStringLiteral("申請は取り消しましたが、保留されている印刷（プリンター %1 の"
                                  "ジョブ %2）を取り消せませんでした（%3）。印刷キューから"
                                  "このジョブを削除しないと、取り消した申請が印刷されます。")
                       .arg(job.printer)
                       .arg(job.id)
                       .arg(why);
    }
    return true;
}
