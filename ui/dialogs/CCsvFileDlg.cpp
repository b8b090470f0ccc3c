#include "CCsvFileDlg.h"

#include "AppSettings.h"
#include "FileDatesProxy.h"

#include <QGridLayout>
#include <QPushButton>

CCsvFileDlg::CCsvFileDlg(AppSettings& settings, const QString& proposal, QWidget* parent)
    : QFileDialog(parent, QStringLiteral("CSVファイル保存"), proposal,
                  QStringLiteral("CSVファイル (*.csv)")),
      m_settings(settings)
{
    setOption(QFileDialog::DontUseNativeDialog, true);
    // A file that is there already is replaced only on the user's word.
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setDefaultSuffix(QStringLiteral("csv"));
    FileDatesProxy::ShowIn(*this);
    selectFile(proposal);
    auto* options = new QPushButton(QStringLiteral("オプション..."), this);
    options->setObjectName(QStringLiteral("options"));
    connect(options, &QPushButton::clicked, this, &CCsvFileDlg::ShowOptions);
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(options, grid->rowCount(), 0, 1, grid->columnCount(), Qt::AlignLeft);
}

void CCsvFileDlg::ShowOptions()
{
    const AppSettings& s = m_settings;
    CCsvSettingDlg dialog({s.CsvOutputItem, s.CsvApplyOnly != 0, s.CsvOutputHeader != 0,
                           s.CsvProfile == AppSettings::kCsvHistory,
                           s.CsvEncoding == AppSettings::kCsvUtf8, s.CsvShowCardId != 0},
                          this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const CCsvSettingDlg::Choices chosen = dialog.Result();
    m_settings.CsvOutputItem = chosen.outputItem;
    m_settings.CsvApplyOnly = chosen.applyOnly ? 1 : 0;
    m_settings.CsvOutputHeader = chosen.header ? 1 : 0;
    m_settings.CsvProfile = chosen.history ? AppSettings::kCsvHistory : AppSettings::kCsvColumns;
    m_settings.CsvEncoding = chosen.utf8 ? AppSettings::kCsvUtf8 : AppSettings::kCsvShiftJis;
    m_settings.CsvShowCardId = chosen.showCardId ? 1 : 0;
}
