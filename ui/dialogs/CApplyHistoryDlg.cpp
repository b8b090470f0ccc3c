#include "CApplyHistoryDlg.h"

#include "Prompts.h"
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
enum Column { Printed, Period, Amount, Lines, State, ColumnCount };

QTableWidgetItem* Cell(const QString& text, Qt::Alignment align)
{
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(align | Qt::AlignVCenter);
    return item;
}

QString Day(const QDate& day)
{
    return day.toString(QStringLiteral("yyyy/MM/dd"));
}

QString PeriodText(const AppliedLines::Application& application)
{
    if (!application.from.isValid())
        return QStringLiteral("—");
    if (application.from == application.to)
        return Day(application.from);
    return QStringLiteral("%1～%2").arg(Day(application.from), Day(application.to));
}

QString LinesText(int count)
{
    return count < 0 ? QStringLiteral("読めません") : QStringLiteral("%1件").arg(count);
}

QString Describe(const AppliedLines::Application& application)
{
    return QStringLiteral("%1 印刷、%2、%3円、明細 %4")
        .arg(application.printed.toString(QStringLiteral("yyyy/MM/dd HH:mm")),
             PeriodText(application), FormatYen(application.amount),
             LinesText(application.lineCount));
}
} // namespace

CApplyHistoryDlg::CApplyHistoryDlg(History history, Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_history(std::move(history)), m_prompts(prompts)
{
    setWindowTitle(QStringLiteral("申請履歴"));
    auto* layout = new QVBoxLayout(this);
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("historyProblem"));
    m_problem->setWordWrap(true);
    m_problem->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_problem->setStyleSheet(QStringLiteral("QLabel { color: #b00020; }"));
    layout->addWidget(m_problem);
    m_table = new QTableWidget(0, ColumnCount, this);
    m_table->setObjectName(QStringLiteral("applications"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("印刷日時"), QStringLiteral("利用期間"),
                                        QStringLiteral("金額"), QStringLiteral("明細数"),
                                        QStringLiteral("状態")});
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setTabKeyNavigation(false);
    m_table->setWordWrap(false);
    layout->addWidget(m_table, 1);
    auto* empty = new QLabel(QStringLiteral("記録された申請はまだありません。"), this);
    empty->setObjectName(QStringLiteral("noApplications"));
    layout->addWidget(empty);

    auto* buttons = new QDialogButtonBox(this);
    m_open = buttons->addButton(QStringLiteral("開く(&O)"), QDialogButtonBox::AcceptRole);
    m_open->setObjectName(QStringLiteral("openApplication"));
    m_cancel = buttons->addButton(QStringLiteral("取消(&C)..."), QDialogButtonBox::ActionRole);
    m_cancel->setObjectName(QStringLiteral("cancelApplication"));
    m_cancel->setToolTip(QStringLiteral(
        "選んだ申請を取り消します。申請は履歴に残り、その明細は申請済みではなくなります。"));
    m_repair = buttons->addButton(QStringLiteral("修復(&R)..."), QDialogButtonBox::ActionRole);
    m_repair->setObjectName(QStringLiteral("repairHistory"));
    m_repair->setToolTip(QStringLiteral("読めた申請だけの申請履歴を作り直します。"
                                        "壊れたファイルは別の名前で残します。"));
    buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    connect(m_open, &QPushButton::clicked, this, &CApplyHistoryDlg::OpenSelected);
    connect(m_cancel, &QPushButton::clicked, this, &CApplyHistoryDlg::CancelSelected);
    connect(m_repair, &QPushButton::clicked, this, &CApplyHistoryDlg::RepairHistory);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &CApplyHistoryDlg::UpdateButtons);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, &CApplyHistoryDlg::OpenSelected);
    layout->addWidget(buttons);
    Fill();
    if (m_table->rowCount() > 0)
        m_table->selectRow(0);
    UpdateButtons();
    resize(720, 400);
}

void CApplyHistoryDlg::Fill()
{
    m_applications = m_history.list ? m_history.list() : std::vector<AppliedLines::Application>();
    const QString problem = m_history.problem ? m_history.problem() : QString();
    m_refusesChanges = !problem.isEmpty();
    m_problem->setText(problem);
    m_problem->setVisible(!problem.isEmpty());
    m_repair->setVisible(m_history.repair && m_history.damaged && m_history.damaged());
    m_table->setRowCount(static_cast<int>(m_applications.size()));
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const auto& application = m_applications[static_cast<std::size_t>(row)];
        m_table->setItem(
            row, Printed,
            Cell(application.printed.toString(QStringLiteral("yyyy/MM/dd HH:mm")), Qt::AlignLeft));
        m_table->setItem(row, Period, Cell(PeriodText(application), Qt::AlignLeft));
        m_table->setItem(
            row, Amount,
            Cell(FormatYen(application.amount) + QStringLiteral("円"), Qt::AlignRight));
        m_table->setItem(row, Lines, Cell(LinesText(application.lineCount), Qt::AlignRight));
        const bool cancelled = application.cancelled.isValid();
        QString state;
        if (cancelled)
            state = QStringLiteral("取消 %1").arg(Day(application.cancelled));
        else if (m_history.held && m_history.held(application))
            state = QStringLiteral("保留");
        m_table->setItem(row, State, Cell(state, Qt::AlignLeft));
        m_table->item(row, Printed)->setToolTip(application.snapshotPath);
        for (int column = 0; column < ColumnCount && cancelled; ++column)
            m_table->item(row, column)->setForeground(palette().brush(QPalette::PlaceholderText));
    }
    // Each column as wide as its widest text, with room to breathe.
    m_table->resizeColumnsToContents();
    for (int column = 0; column + 1 < ColumnCount; ++column)
        m_table->setColumnWidth(column, m_table->columnWidth(column) + 16);
    m_table->horizontalHeader()->setStretchLastSection(true);
    findChild<QLabel*>(QStringLiteral("noApplications"))->setVisible(m_applications.empty());
}

const AppliedLines::Application* CApplyHistoryDlg::Selected() const
{
    const int row = m_table->currentRow();
    if (row < 0 || row >= static_cast<int>(m_applications.size()) ||
        !m_table->selectionModel()->isRowSelected(row, QModelIndex()))
        return nullptr;
    return &m_applications[static_cast<std::size_t>(row)];
}

void CApplyHistoryDlg::UpdateButtons()
{
    const AppliedLines::Application* application = Selected();
    m_open->setEnabled(application && application->lineCount >= 0 &&
                       QFileInfo::exists(application->snapshotPath));
    m_cancel->setEnabled(application && !application->cancelled.isValid() && m_history.cancel &&
                         !m_refusesChanges);
}

void CApplyHistoryDlg::OpenSelected()
{
    UpdateButtons();
    if (!m_open->isEnabled())
        return;
    m_chosen = Selected()->snapshotPath;
    accept();
}

void CApplyHistoryDlg::CancelSelected()
{
    UpdateButtons();
    if (!m_cancel->isEnabled())
        return;
    const AppliedLines::Application chosen = *Selected();
    const QString question =
        QStringLiteral("この申請を取り消しますか？\n\n%1\n\n取り消した申請は申請履歴に残り、"
                       "その明細は申請済みではなくなります。")
            .arg(Describe(chosen));
    if (m_prompts.Ask(question, Prompts::Icon::Question, Prompts::Buttons::YesNo) !=
        Prompts::Answer::Yes)
        return;
    QString message;
    if (!m_history.cancel(chosen, &message))
        m_prompts.Ask(message, Prompts::Icon::Stop, Prompts::Buttons::Ok);
    else if (!message.isEmpty())
        m_prompts.Ask(message, Prompts::Icon::Information, Prompts::Buttons::Ok);
    const int row = m_table->currentRow();
    Fill();
    m_table->selectRow(std::min(row, m_table->rowCount() - 1));
    UpdateButtons();
}

void CApplyHistoryDlg::RepairHistory()
{
    if (!m_history.repair || m_repair->isHidden())
        return;
    const QString question =
        QStringLiteral("申請履歴を修復しますか？\n\n読めた申請だけの申請履歴を作り直します。"
                       "壊れたファイルはそのまま別の名前で残します。");
    if (m_prompts.Ask(question, Prompts::Icon::Question, Prompts::Buttons::YesNo) !=
        Prompts::Answer::Yes)
        return;
    QString report;
    const bool repaired = m_history.repair(&report);
    m_prompts.Ask(report, repaired ? Prompts::Icon::Information : Prompts::Icon::Stop,
                  Prompts::Buttons::Ok);
    Fill();
    if (m_table->rowCount() > 0)
        m_table->selectRow(0);
    UpdateButtons();
}
