#include "CApplyHistoryDlg.h"

#include "TextFormat.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace
{
QTableWidgetItem* Cell(const QString& text, Qt::Alignment align)
{
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(align | Qt::AlignVCenter);
    return item;
}
} // namespace

CApplyHistoryDlg::CApplyHistoryDlg(const std::vector<AppliedLines::Application>& applications,
                                   QWidget* parent)
    : QDialog(parent), m_applications(applications)
{
    setWindowTitle(QStringLiteral("申請履歴"));
    auto* layout = new QVBoxLayout(this);
    m_table = new QTableWidget(static_cast<int>(m_applications.size()), 3, this);
    m_table->setObjectName(QStringLiteral("applications"));
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("申請日時"), QStringLiteral("金額"), QStringLiteral("明細数")});
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setTabKeyNavigation(false);
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const auto& application = m_applications[static_cast<std::size_t>(row)];
        m_table->setItem(
            row, 0,
            Cell(application.printed.toString(QStringLiteral("yyyy/MM/dd HH:mm")), Qt::AlignLeft));
        m_table->setItem(
            row, 1, Cell(FormatYen(application.amount) + QStringLiteral("円"), Qt::AlignRight));
        m_table->setItem(row, 2,
                         Cell(application.lineCount < 0
                                  ? QStringLiteral("読めません")
                                  : QStringLiteral("%1件").arg(application.lineCount),
                              Qt::AlignRight));
        m_table->item(row, 0)->setToolTip(application.snapshotPath);
    }
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_table->setColumnWidth(1, 110);
    m_table->setColumnWidth(2, 80);
    layout->addWidget(m_table, 1);
    if (m_applications.empty())
        layout->addWidget(new QLabel(QStringLiteral("記録された申請はまだありません。"), this));

    auto* buttons = new QDialogButtonBox(this);
    m_open = buttons->addButton(QStringLiteral("開く(&O)"), QDialogButtonBox::AcceptRole);
    m_open->setObjectName(QStringLiteral("openApplication"));
    buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    connect(m_open, &QPushButton::clicked, this, &CApplyHistoryDlg::OpenSelected);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &CApplyHistoryDlg::UpdateButtons);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, &CApplyHistoryDlg::OpenSelected);
    layout->addWidget(buttons);
    if (!m_applications.empty())
        m_table->selectRow(0);
    UpdateButtons();
    resize(460, 360);
}

void CApplyHistoryDlg::UpdateButtons()
{
    const int row = m_table->currentRow();
    const bool readable =
        row >= 0 && row < static_cast<int>(m_applications.size()) &&
        m_applications[static_cast<std::size_t>(row)].lineCount >= 0 &&
        QFileInfo::exists(m_applications[static_cast<std::size_t>(row)].snapshotPath);
    m_open->setEnabled(readable);
}

void CApplyHistoryDlg::OpenSelected()
{
    UpdateButtons();
    if (!m_open->isEnabled())
        return;
    m_chosen = m_applications[static_cast<std::size_t>(m_table->currentRow())].snapshotPath;
    accept();
}
