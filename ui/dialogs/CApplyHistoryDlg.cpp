#include "CApplyHistoryDlg.h"

#include "CCancelReasonDlg.h"
#include "ClaimPeriod.h"
#include "Prompts.h"
#include "TextFormat.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
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

QString OneLine(QString text)
{
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

QString Describe(const AppliedLines::Application& application)
{
    return QStringLiteral("%1 印刷、%2、%3円、明細 %4")
        .arg(application.printed.toString(QStringLiteral("yyyy/MM/dd HH:mm")),
             PeriodText(application), FormatYen(application.amount),
             LinesText(application.lineCount));
}

QString VerifiedText(const AppliedLines::Application& application)
{
    switch (application.check) {
    case AppliedLines::Check::Good:
        return QStringLiteral("一致");
    case AppliedLines::Check::NotRecorded:
        return QStringLiteral("記録なし");
    default:
        return QStringLiteral("⚠ 要確認");
    }
}

std::optional<std::int64_t> AmountIn(const QLineEdit& edit)
{
    bool ok = false;
    const qlonglong value = edit.text().toLongLong(&ok);
    return ok ? std::optional<std::int64_t>(value) : std::nullopt;
}

std::optional<QString> AskReason(QWidget* parent, const QString& description)
{
    CCancelReasonDlg dialog(description, parent);
    if (dialog.exec() != QDialog::Accepted || dialog.Reason().isEmpty())
        return std::nullopt;
    return dialog.Reason();
}
} // namespace

CApplyHistoryDlg::CApplyHistoryDlg(History history, Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_history(std::move(history)), m_prompts(prompts),
      m_askReason([this](const QString& description) { return AskReason(this, description); })
{
    setWindowTitle(QStringLiteral("申請履歴"));
    auto* layout = new QVBoxLayout(this);
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("historyProblem"));
    m_problem->setWordWrap(true);
    m_problem->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_problem->setStyleSheet(QStringLiteral("QLabel { color: #b00020; }"));
    layout->addWidget(m_problem);
    layout->addLayout(MakeSearchRow());
    m_table = new QTableWidget(0, ColumnCount, this);
    m_table->setObjectName(QStringLiteral("applications"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("申請番号"), QStringLiteral("印刷日時"),
                                        QStringLiteral("利用期間"), QStringLiteral("金額"),
                                        QStringLiteral("明細数"), QStringLiteral("状態"),
                                        QStringLiteral("検証")});
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setTabKeyNavigation(false);
    m_table->setWordWrap(false);
    layout->addWidget(m_table, 1);
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("searchSummary"));
    layout->addWidget(m_summary);
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
    m_export = buttons->addButton(QStringLiteral("書き出し(&E)..."), QDialogButtonBox::ActionRole);
    m_export->setObjectName(QStringLiteral("exportApplications"));
    m_export->setToolTip(QStringLiteral("一覧の申請を、申請ごとのPDFと申請一覧.csv として"
                                        "フォルダーに書き出します。"));
    m_repair = buttons->addButton(QStringLiteral("修復(&R)..."), QDialogButtonBox::ActionRole);
    m_repair->setObjectName(QStringLiteral("repairHistory"));
    m_repair->setToolTip(QStringLiteral("読めた申請だけの申請履歴を作り直します。"
                                        "壊れたファイルは別の名前で残します。"));
    buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    connect(m_open, &QPushButton::clicked, this, &CApplyHistoryDlg::OpenSelected);
    connect(m_cancel, &QPushButton::clicked, this, &CApplyHistoryDlg::CancelSelected);
    connect(m_export, &QPushButton::clicked, this, &CApplyHistoryDlg::ExportListed);
    connect(m_repair, &QPushButton::clicked, this, &CApplyHistoryDlg::RepairHistory);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &CApplyHistoryDlg::UpdateButtons);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, &CApplyHistoryDlg::OpenSelected);
    layout->addWidget(buttons);
    Reload();
    if (m_table->rowCount() > 0)
        m_table->selectRow(0);
    UpdateButtons();
    resize(860, 440);
}

QLayout* CApplyHistoryDlg::MakeSearchRow()
{
    // Two rows, so each field keeps its room at any scale: the dates and
    // amounts, then the text.
    auto* rows = new QVBoxLayout;
    auto* row = new QHBoxLayout;
    m_byDate = new QCheckBox(QStringLiteral("印刷日(&D)"), this);
    m_byDate->setObjectName(QStringLiteral("searchByDate"));
    const QDate today = QDate::currentDate();
    m_fromDate = new QDateEdit(QDate(today.year(), today.month(), 1), this);
    m_toDate = new QDateEdit(today, this);
    for (QDateEdit* edit : {m_fromDate, m_toDate}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
        edit->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000/00/00")) +
                              3 * fontMetrics().height());
        edit->setEnabled(false);
        connect(edit, &QDateEdit::dateChanged, this, &CApplyHistoryDlg::Fill);
    }
    connect(m_byDate, &QCheckBox::toggled, this, [this](bool on) {
        m_fromDate->setEnabled(on);
        m_toDate->setEnabled(on);
        Fill();
    });
    auto* amountLabel = new QLabel(QStringLiteral("金額(&M)"), this);
    m_minAmount = new QLineEdit(this);
    m_maxAmount = new QLineEdit(this);
    amountLabel->setBuddy(m_minAmount);
    for (QLineEdit* edit : {m_minAmount, m_maxAmount}) {
        edit->setValidator(new QIntValidator(0, 999'999'999, edit));
        edit->setMaxLength(9);
        edit->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000000000")) +
                              fontMetrics().height());
        edit->setAlignment(Qt::AlignRight);
        connect(edit, &QLineEdit::textChanged, this, &CApplyHistoryDlg::Fill);
    }
    m_minAmount->setPlaceholderText(QStringLiteral("下限"));
    m_maxAmount->setPlaceholderText(QStringLiteral("上限"));
    row->addWidget(m_byDate);
    row->addWidget(m_fromDate);
    row->addWidget(new QLabel(QStringLiteral("～"), this));
    row->addWidget(m_toDate);
    row->addSpacing(fontMetrics().height());
    row->addWidget(amountLabel);
    row->addWidget(m_minAmount);
    row->addWidget(new QLabel(QStringLiteral("～"), this));
    row->addWidget(m_maxAmount);
    row->addWidget(new QLabel(QStringLiteral("円"), this));
    row->addStretch(1);
    rows->addLayout(row);

    auto* textRow = new QHBoxLayout;
    auto* textLabel = new QLabel(QStringLiteral("文字(&T)"), this);
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("searchText"));
    m_text->setPlaceholderText(QStringLiteral("訪問先・備考・駅名・会社名"));
    m_text->setClearButtonEnabled(true);
    textLabel->setBuddy(m_text);
    connect(m_text, &QLineEdit::textChanged, this, &CApplyHistoryDlg::Fill);
    textRow->addWidget(textLabel);
    textRow->addWidget(m_text, 1);
    rows->addLayout(textRow);
    return rows;
}

ApplicationSearch CApplyHistoryDlg::Search() const
{
    ApplicationSearch search;
    if (m_byDate->isChecked()) {
        const ClaimFilter period = ClaimPeriod::Between(m_fromDate->date(), m_toDate->date());
        search.from = period.from;
        search.until = period.until;
    }
    search.minAmount = AmountIn(*m_minAmount);
    search.maxAmount = AmountIn(*m_maxAmount);
    search.text = m_text->text();
    return search;
}

void CApplyHistoryDlg::Reload()
{
    m_all = m_history.list ? m_history.list() : std::vector<AppliedLines::Application>();
    Fill();
}

void CApplyHistoryDlg::Fill()
{
    const QString problem = m_history.problem ? m_history.problem() : QString();
    m_refusesChanges = !problem.isEmpty();
    m_problem->setText(problem);
    m_problem->setVisible(!problem.isEmpty());
    m_repair->setVisible(m_history.repair && m_history.damaged && m_history.damaged());
    m_applications = Search().Filter(m_all);
    m_table->setRowCount(static_cast<int>(m_applications.size()));
    const QBrush warning(QColor(0xb0, 0x00, 0x20));
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const auto& application = m_applications[static_cast<std::size_t>(row)];
        m_table->setItem(row, Number, Cell(application.id, Qt::AlignLeft));
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
        if (cancelled) {
            state = QStringLiteral("取消 %1").arg(Day(application.cancelled));
            if (!application.cancelReason.isEmpty())
                state += QStringLiteral("：") + OneLine(application.cancelReason);
        } else if (m_history.held && m_history.held(application)) {
            state = QStringLiteral("保留");
        }
        m_table->setItem(row, State, Cell(state, Qt::AlignLeft));
        if (cancelled)
            m_table->item(row, State)->setToolTip(application.cancelReason);
        m_table->setItem(row, Verified, Cell(VerifiedText(application), Qt::AlignLeft));
        m_table->item(row, Verified)
            ->setToolTip(application.Fails() ? application.checkDetail
                         : application.check == AppliedLines::Check::NotRecorded
                             ? QStringLiteral("この申請は照合用の記録がない版で印刷されました。")
                             : QStringLiteral("控えのファイルは記録のとおりです。"));
        m_table->item(row, Printed)->setToolTip(application.snapshotFile);
        for (int column = 0; column < ColumnCount && cancelled; ++column)
            m_table->item(row, column)->setForeground(palette().brush(QPalette::PlaceholderText));
        if (application.Fails())
            m_table->item(row, Verified)->setForeground(warning);
    }
    // Each column as wide as its widest text, with room to breathe; the
    // state (with its reason) takes what is left.
    m_table->resizeColumnsToContents();
    for (int column = 0; column < ColumnCount; ++column)
        if (column != State)
            m_table->setColumnWidth(column, m_table->columnWidth(column) + 16);
    m_table->horizontalHeader()->setSectionResizeMode(State, QHeaderView::Stretch);
    m_summary->setText(
        ApplicationSearch::SummaryText(ApplicationSearch::Summarize(m_applications)));
    m_summary->setVisible(!m_all.empty());
    findChild<QLabel*>(QStringLiteral("noApplications"))->setVisible(m_all.empty());
    // A narrower or wider search keeps a line chosen for the buttons.
    if (m_table->rowCount() > 0 && !Selected())
        m_table->selectRow(0);
    UpdateButtons();
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
                       QFileInfo::exists(application->snapshotFile));
    m_cancel->setEnabled(application && !application->cancelled.isValid() && m_history.cancel &&
                         !m_refusesChanges);
    m_export->setEnabled(!m_applications.empty() && m_history.exportTo && m_history.chooseFolder);
}

void CApplyHistoryDlg::OpenSelected()
{
    UpdateButtons();
    if (!m_open->isEnabled())
        return;
    m_chosen = Selected()->snapshotFile;
    accept();
}

void CApplyHistoryDlg::CancelSelected()
{
    UpdateButtons();
    if (!m_cancel->isEnabled())
        return;
    const AppliedLines::Application chosen = *Selected();
    const std::optional<QString> reason = m_askReason(Describe(chosen));
    if (!reason || reason->trimmed().isEmpty())
        return;
    QString message;
    if (!m_history.cancel(chosen, *reason, &message))
        m_prompts.Ask(message, Prompts::Icon::Stop, Prompts::Buttons::Ok);
    else if (!message.isEmpty())
        m_prompts.Ask(message, Prompts::Icon::Information, Prompts::Buttons::Ok);
    const int row = m_table->currentRow();
    Reload();
    m_table->selectRow(std::min(row, m_table->rowCount() - 1));
    UpdateButtons();
}

void CApplyHistoryDlg::ExportListed()
{
    UpdateButtons();
    if (!m_export->isEnabled())
        return;
    const QString folder = m_history.chooseFolder();
    if (folder.isEmpty())
        return;
    const ApplicationArchive::Report report = m_history.exportTo(m_applications, folder);
    QString text = QStringLiteral("申請 %1 件を %2 に書き出しました（新しいファイル %3、"
                                  "同じ内容で既にあったファイル %4）。")
                       .arg(m_applications.size())
                       .arg(folder)
                       .arg(report.written.size())
                       .arg(report.unchanged.size());
    if (!report.notes.isEmpty())
        text += QStringLiteral("\n\n") + report.notes.join(QLatin1Char('\n'));
    m_prompts.Ask(text, report.failed ? Prompts::Icon::Exclamation : Prompts::Icon::Information,
                  Prompts::Buttons::Ok);
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
    Reload();
    if (m_table->rowCount() > 0)
        m_table->selectRow(0);
    UpdateButtons();
}
