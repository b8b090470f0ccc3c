#include "CCorvaneForm.h"

#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "CEntryEditDlg.h"
#include "CListCtrlEx.h"
#include "CardIdentity.h"
#include "ClaimTotal.h"
#include "EntryTableModel.h"
#include "ListColumns.h"
#include "ListHeader.h"
#include "ListedLinesModel.h"
#include "LocalTime.h"
#include "PeriodChooser.h"
#include "Prompts.h"
#include "RowMoves.h"
#include "SequenceNumber.h"
#include "StationCorrector.h"
#include "TextFormat.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <map>
#include <utility>

CCorvaneForm::CCorvaneForm(CCorvaneDoc& doc, AppSettings& settings, Prompts& prompts,
                           QWidget* parent)
    : QWidget(parent), m_doc(doc), m_settings(settings), m_prompts(prompts),
      m_corrector(std::make_unique<StationCorrector>(doc, settings, prompts))
{
    m_columnToggle.fill(true);
    m_editLine = [this](const EditRequest& request) { return RunEditor(request); };
    BuildControls();
    m_columns->Restore();
    SetGrid(m_settings.ListGridView != 0);
    SetZebra(m_settings.ListZebraView != 0);
    connect(m_total, &ClaimTotal::Changed, this, &CCorvaneForm::ShowTotal);
    connect(&m_doc, &CCorvaneDoc::LinesEdited, this, &CCorvaneForm::ShowCardColumn);
    connect(&m_doc, &CCorvaneDoc::LinesEdited, this, &CCorvaneForm::StateChanged);
    connect(&m_doc, &CCorvaneDoc::LinesReset, this, &CCorvaneForm::OnReset);
    connect(&m_doc, &CCorvaneDoc::CardsLinked, this, &CCorvaneForm::CardNamesChanged);
    // Also from an undo: the table of corrections follows the claim's steps.
    connect(&m_doc, &CCorvaneDoc::CorrectionsProblem, this, [this](const QString& text) {
        m_prompts.Ask(text, Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
    });
    OnReset();
}

CCorvaneForm::~CCorvaneForm() = default;

void CCorvaneForm::BuildControls()
{
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    m_cardButton = new QToolButton(this);
    m_cardButton->setObjectName(QStringLiteral("cardButton"));
    m_cardButton->setIcon(QIcon::fromTheme(QStringLiteral("fenwir-card-read")));
    m_cardButton->setIconSize(QSize(32, 32));
    m_cardButton->setToolTip(QStringLiteral("カード読込"));
    m_cardButton->setAutoRaise(false);
    m_cardButton->setFocusPolicy(Qt::StrongFocus);
    connect(m_cardButton, &QToolButton::clicked, this, &CCorvaneForm::ReadCardRequested);
    top->addWidget(m_cardButton);
    m_showAll = new QCheckBox(QStringLiteral("全て表示(&A)"), this);
    m_showAll->setObjectName(QStringLiteral("showAll"));
    m_showAll->installEventFilter(this);
    connect(m_showAll, &QCheckBox::clicked, this, [this] {
        ApplyFilter();
        // A click takes the user back to the list; the access key (Alt+A)
        // or Space leave the focus on the box, as desktop programs do, so
        // the next Space toggles the box again, not a line.
        if (std::exchange(m_showAllClicked, false))
            FocusList();
    });
    top->addWidget(m_showAll);
    top->addSpacing(16);
    m_period = new PeriodChooser(this);
    connect(m_period, &PeriodChooser::Changed, this, &CCorvaneForm::ApplyFilter);
    top->addWidget(m_period);
    top->addStretch();
    layout->addLayout(top);

    m_model = new EntryTableModel(m_doc, this);
    m_listed = new ListedLinesModel(m_doc, this);
    m_listed->setSourceModel(m_model);
    m_list = new CListCtrlEx(this);
    m_list->setObjectName(QStringLiteral("historyList"));
    m_list->setHorizontalHeader(new ListHeader(m_list));
    // Row heights are set before the rows come: one per row would be resized.
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 8);
    m_list->setModel(m_listed);
    m_columns = new ListColumns(*m_list, m_settings, this);
    // The day a line was claimed reads best beside its mark.
    m_list->horizontalHeader()->moveSection(EntryTableModel::Applied, 1);
    m_list->horizontalHeader()->moveSection(EntryTableModel::Card, 2);
    m_model->SetCardLabels([this](const CardId& idm) { return CardLabel(idm); });
    m_model->SetReclaimQuestion(
        [this](const EntryInfo&, const QDate& day) { return ConfirmReclaim(day); });
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the list for the card button and "全て表示".
    m_list->setTabKeyNavigation(false);
    m_list->setWordWrap(false);
    m_list->setTextElideMode(Qt::ElideRight);
    m_list->horizontalHeader()->setSectionsMovable(false);
    m_list->horizontalHeader()->setHighlightSections(false);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setContextMenuPolicy(Qt::DefaultContextMenu);
    m_list->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);
    connect(m_list->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &CCorvaneForm::OnHeaderClicked);
    connect(m_list, &CListCtrlEx::RowsDropped, this, &CCorvaneForm::DropRows);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CCorvaneForm::StateChanged);
    layout->addWidget(m_list, 1);
    setFocusProxy(m_list);
    QWidget::setTabOrder(m_list, m_cardButton);
    QWidget::setTabOrder(m_cardButton, m_showAll);
    QWidget::setTabOrder(m_showAll, &m_period->Box());

    auto* bottom = new QHBoxLayout;
    m_total = new ClaimTotal(m_doc, this);
    bottom->addWidget(m_total);
    bottom->addStretch();
    layout->addLayout(bottom);
}

void CCorvaneForm::SetPeriod(Period period, const QDate& from, const QDate& to)
{
    m_period->SetPeriod(period, from, to);
}

void CCorvaneForm::SetToday(std::function<QDate()> today)
{
    m_period->SetToday(std::move(today));
}

QComboBox& CCorvaneForm::PeriodBox() const
{
    return m_period->Box();
}

QDateEdit& CCorvaneForm::FromEdit()
{
    return m_period->FromEdit();
}

QDateEdit& CCorvaneForm::ToEdit()
{
    return m_period->ToEdit();
}

QLabel& CCorvaneForm::TotalText() const
{
    return m_total->Text();
}

int CCorvaneForm::CheckedCount() const
{
    return m_total->Count();
}

std::int64_t CCorvaneForm::CheckedTotal() const
{
    return m_total->Total();
}

void CCorvaneForm::SaveColumnWidths()
{
    m_columns->Save();
}

void CCorvaneForm::SetGrid(bool grid)
{
    m_list->setShowGrid(grid);
}

void CCorvaneForm::SetZebra(bool zebra)
{
    m_model->SetZebra(zebra);
    m_list->viewport()->update();
}

ClaimFilter CCorvaneForm::Filter() const
{
    return m_listed->Filter();
}

int CCorvaneForm::ListWidth() const
{
    const QMargins margins = layout()->contentsMargins();
    return m_columns->FullWidth() + margins.left() + margins.right();
}

int CCorvaneForm::RowCount() const
{
    return m_listed->rowCount();
}

bool CCorvaneForm::ShowAll() const
{
    return m_showAll->isChecked();
}

const EntryInfo* CCorvaneForm::LineAt(int row) const
{
    return row >= 0 && row < RowCount() ? m_listed->Line(row) : nullptr;
}

std::vector<int> CCorvaneForm::SelectedRows() const
{
    std::vector<int> rows;
    for (const QModelIndex& index : m_list->selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CCorvaneForm::SelectRows(const std::vector<int>& rows)
{
    QItemSelection selection;
    for (int row : rows)
        selection.select(m_listed->index(row, 0),
                         m_listed->index(row, EntryTableModel::ColumnCount - 1));
    m_list->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (!rows.empty())
        m_list->selectionModel()->setCurrentIndex(m_listed->index(rows.back(), 0),
                                                  QItemSelectionModel::NoUpdate);
}

std::vector<const EntryInfo*> CCorvaneForm::LinesOfRows(const std::vector<int>& rows) const
{
    std::vector<const EntryInfo*> lines;
    for (int row : rows)
        if (const EntryInfo* line = LineAt(row))
            lines.push_back(line);
    return lines;
}

void CCorvaneForm::SelectLines(const std::vector<const EntryInfo*>& lines)
{
    std::vector<int> rows;
    for (const std::size_t position : m_doc.PositionsOf(lines))
        if (const int row = m_listed->RowOfPosition(position); row >= 0)
            rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    SelectRows(rows);
}

void CCorvaneForm::FocusList()
{
    if (!m_list->currentIndex().isValid() && RowCount() > 0)
        SelectRows({0});
    m_list->setFocus();
}

void CCorvaneForm::OnReset()
{
    // A claim made or opened is shown whole, from its first line.
    m_showAll->setChecked(true);
    ApplyFilter();
    ShowCardColumn();
    if (RowCount() > 0)
        SelectRows({0});
    FocusList();
}

void CCorvaneForm::ShowCardColumn()
{
    if (m_list)
        m_columns->SetHidden(EntryTableModel::Card,
                             !HoldsSeveralCards(m_doc.Lines(), m_doc.CardGroups()));
}

void CCorvaneForm::CardNamesChanged()
{
    ShowCardColumn();
    m_model->CardNamesChanged();
}

QString CCorvaneForm::CardLabel(const CardId& idm) const
{
    // One card, one label, whichever of its IDs a line was read under.
    const QStringList ids = m_doc.CardGroups().IdsOf(CardIdHex(idm));
    for (const QString& id : ids)
        if (const QString name = m_settings.CardNameOf(id); !name.isEmpty())
            return name;
    return QStringLiteral("****") + ids.constFirst().right(4);
}

void CCorvaneForm::ApplyFilter()
{
    if (!m_list)
        return; // still being built
    ClaimFilter filter = m_period->Filter();
    filter.showAll = ShowAll();
    m_listed->SetFilter(filter);
    m_columns->SetHidden(EntryTableModel::Balance, !filter.showAll);
    if (!m_list->currentIndex().isValid() && RowCount() > 0)
        SelectRows({0});
    m_total->SetFilter(filter, m_listed->Positions());
}

void CCorvaneForm::ShowPlaceholder()
{
    m_list->SetPlaceholderText(
        m_doc.Lines().empty() ? QStringLiteral("Ctrl+R またはカードボタンでカードを読み込みます")
                              : QStringLiteral("この期間に表示する明細はありません"));
}

void CCorvaneForm::ShowTotal()
{
    ShowPlaceholder();
    const bool showAll = ShowAll();
    m_total->setVisible(!showAll);
    // Offered whenever the list shows something, and while unticked, so a
    // claim whose lines the filter leaves all out can still be shown whole.
    m_showAll->setEnabled(RowCount() > 0 || !showAll);
    Q_EMIT StateChanged();
}

bool CCorvaneForm::ConfirmReclaim(const QDate& day)
{
    return m_prompts.Ask(EntryTableModel::ReclaimQuestion(day), Prompts::Icon::Question,
                         Prompts::Buttons::YesNo) == Prompts::Answer::Yes;
}

void CCorvaneForm::SetAllChecks(bool checked)
{
    const std::vector<int> selected = SelectedRows();
    std::vector<std::pair<std::size_t, bool>> marks;
    m_doc.RefreshHistory();
    for (int row = 0; row < RowCount(); ++row) {
        const bool isSelected = std::binary_search(selected.begin(), selected.end(), row);
        const bool mark = selected.size() > 1 ? (isSelected ? checked : !checked) : checked;
        // Marking everything never claims a trip a second time unasked.
        if (mark && m_doc.AppliedOn(*LineAt(row)))
            continue;
        marks.emplace_back(m_listed->Position(row), mark);
    }
    m_doc.SetMarks(marks, QStringLiteral("チェックの一括変更"));
}

void CCorvaneForm::ToggleCurrentMark()
{
    const QModelIndex current = m_list->currentIndex();
    std::vector<int> rows = SelectedRows();
    if (rows.empty() && current.isValid()) {
        SelectRows({current.row()});
        rows = {current.row()};
    }
    if (rows.empty())
        return;
    const bool onCurrent =
        current.isValid() && std::binary_search(rows.begin(), rows.end(), current.row());
    const EntryInfo* lead = LineAt(onCurrent ? current.row() : rows.front());
    const bool checked = lead->applyFlag != 1;
    if (rows.size() == 1) {
        if (checked && !CanApply(*lead)) {
            Q_EMIT Status(RefusalReason(*lead, Refusal::Tick));
            return;
        }
        m_listed->setData(m_listed->index(rows.front(), EntryTableModel::Print),
                          checked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
        return;
    }
    // Several lines, as the header marks them: a trip claimed before is not
    // claimed again unasked, and what may not be claimed keeps its mark.
    m_doc.RefreshHistory();
    std::vector<std::pair<std::size_t, bool>> marks;
    int kept = 0;
    for (const int row : rows) {
        const EntryInfo& line = *LineAt(row);
        if (checked && (!CanApply(line) || m_doc.AppliedOn(line))) {
            kept += line.applyFlag == 1 ? 0 : 1;
            continue;
        }
        marks.emplace_back(m_listed->Position(row), checked);
    }
    m_doc.SetMarks(marks, checked ? QStringLiteral("チェック") : QStringLiteral("チェックを外す"));
    if (kept > 0)
        Q_EMIT Status(
            QStringLiteral("申請できない明細と申請済みの明細 %1 件はチェックしていません。")
                .arg(kept));
}

bool CCorvaneForm::Reorder(const std::vector<int>& order, const QString& text)
{
    std::vector<const EntryInfo*> listed;
    listed.reserve(order.size());
    for (int row : order)
        listed.push_back(LineAt(row));
    return m_doc.Reorder(m_doc.Data().OrderAsListed(listed), text);
}

void CCorvaneForm::SortByDate()
{
    const bool descending = m_columnToggle[1];
    const int count = RowCount();
    std::vector<int> order(static_cast<std::size_t>(count));
    std::vector<const EntryInfo*> rows(static_cast<std::size_t>(count));
    // The list sorts by the date as shown; format each once, not per comparison.
    std::vector<QString> dates(static_cast<std::size_t>(count));
    // Within a day the card's sequence numbers, counted from the day's first
    // row so that the counter's wrap from 0xFFFF to 0 keeps their order.
    std::vector<int> sequence(static_cast<std::size_t>(count));
    std::map<QString, std::int32_t> reference;
    for (int i = 0; i < count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        order[at] = i;
        rows[at] = LineAt(i);
        dates[at] = EntryTableModel::DateText(rows[at]->dateTime);
        const std::int32_t first =
            reference.try_emplace(dates[at], rows[at]->serialNumber).first->second;
        sequence[at] = SequenceNumber::Offset(rows[at]->serialNumber, first);
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const auto x = static_cast<std::size_t>(a);
        const auto y = static_cast<std::size_t>(b);
        const int byDate = dates[x].compare(dates[y]);
        const bool less = byDate != 0 ? byDate < 0 : sequence[x] < sequence[y];
        const bool greater = byDate != 0 ? byDate > 0 : sequence[x] > sequence[y];
        return descending ? greater : less;
    });
    m_columnToggle[1] = !m_columnToggle[1];
    Reorder(order, QStringLiteral("日付で並べ替え"));
}

void CCorvaneForm::OnHeaderClicked(int section)
{
    if (section == EntryTableModel::Print) {
        SetAllChecks(m_columnToggle[0]);
        m_columnToggle[0] = !m_columnToggle[0];
    } else if (section == EntryTableModel::Date) {
        SortByDate();
    }
}

bool CCorvaneForm::MoveSelectedUp()
{
    const std::vector<int> selected = SelectedRows();
    m_list->setFocus();
    if (selected.empty())
        return false;
    const auto moved = RowMoves::MoveUp(RowCount(), selected);
    const auto lines = LinesOfRows(selected);
    Reorder(moved.order, QStringLiteral("上に移動"));
    SelectLines(lines);
    return true;
}

bool CCorvaneForm::MoveSelectedDown()
{
    const std::vector<int> selected = SelectedRows();
    m_list->setFocus();
    if (selected.empty())
        return false;
    const auto moved = RowMoves::MoveDown(RowCount(), selected);
    const auto lines = LinesOfRows(selected);
    Reorder(moved.order, QStringLiteral("下に移動"));
    SelectLines(lines);
    return true;
}

void CCorvaneForm::DropRows(const std::vector<int>& dragged, int dropRow)
{
    const auto moved = RowMoves::Drop(RowCount(), dragged, dropRow);
    const auto lines = LinesOfRows(dragged);
    Reorder(moved.order, QStringLiteral("ドラッグで移動"));
    SelectLines(lines);
    m_list->setFocus();
    m_list->viewport()->repaint();
}

std::optional<EntryInfo> CCorvaneForm::RunEditor(const EditRequest& request)
{
    CEntryEditDlg dialog(request.line, m_settings.VisHistry, request.routeTemplate,
                         request.templateLine, request.manualLine, m_prompts, window());
    dialog.SetStationCorrector(
        [this, &dialog](const EntryInfo& line) { return m_corrector->Run(line, &dialog); });
    if (request.claimedOn)
        dialog.SetClaimedOn(*request.claimedOn);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.WorkingCopy();
}

bool CCorvaneForm::EditSelected()
{
    const std::vector<int> selected = SelectedRows();
    if (selected.empty())
        return false;
    const int row = selected.front();
    const EntryInfo* line = LineAt(row);
    if (!CanEdit(*line)) {
        Q_EMIT Status(RefusalReason(*line, Refusal::Edit));
        return false;
    }
    SelectRows({row});
    m_doc.RefreshHistory();
    auto edited = m_editLine(
        {*line, nullptr, line->IsManual(), m_settings.TransitURL, m_doc.AppliedOn(*line)});
    m_list->setFocus();
    if (!edited)
        return false;
    m_settings.AddVisit(edited->visitDestination, edited->exitStationName);
    m_doc.EditLine(m_listed->Position(row), *edited);
    SelectLines({line});
    return true;
}

bool CCorvaneForm::CanCorrectSelected() const
{
    const std::vector<int> selected = SelectedRows();
    const EntryInfo* line = selected.empty() ? nullptr : LineAt(selected.front());
    return line && StationCorrector::CanCorrect(*line);
}

bool CCorvaneForm::CorrectSelected()
{
    if (!CanCorrectSelected())
        return false;
    const int row = SelectedRows().front();
    const EntryInfo* line = LineAt(row);
    SelectRows({row});
    const bool corrected = m_corrector->Run(*line, window()).has_value();
    SelectLines({line});
    m_list->setFocus();
    return corrected;
}

bool CCorvaneForm::AddLine()
{
    const std::vector<int> selected = SelectedRows();
    const EntryInfo* templateLine = selected.empty() ? nullptr : LineAt(selected.front());
    const std::size_t position =
        selected.empty() ? m_doc.Lines().size() : m_listed->Position(selected.front());
    const EntryInfo fresh = EntryInfo::ManualLine(CurrentTimestamp());
    const auto added = m_editLine({fresh, templateLine, true, QString(), std::nullopt});
    m_list->setFocus();
    if (!added)
        return false;
    auto line = std::make_unique<EntryInfo>(*added);
    const EntryInfo* pointer = line.get();
    m_settings.AddVisit(pointer->visitDestination, pointer->exitStationName);
    m_doc.InsertLine(position, std::move(line));
    SelectLines({pointer});
    return true;
}

bool CCorvaneForm::DeleteSelected()
{
    const std::vector<int> selected = SelectedRows();
    for (int row : selected) {
        if (!LineAt(row)->IsManual()) {
            m_prompts.Ask(QStringLiteral("カードの履歴情報は削除できません。"),
                          Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
            return false;
        }
    }
    m_list->setFocus();
    if (selected.empty())
        return false;
    if (m_prompts.Ask(QStringLiteral("削除します。よろしいですか？"), Prompts::Icon::Question,
                      Prompts::Buttons::YesNo) != Prompts::Answer::Yes)
        return false;
    std::vector<std::size_t> positions;
    for (int row : selected)
        positions.push_back(m_listed->Position(row));
    m_doc.RemoveLines(positions);
    const int last = selected.back() - static_cast<int>(selected.size()) + 1;
    if (RowCount() > 0)
        SelectRows({std::min(last, RowCount() - 1)});
    m_list->viewport()->repaint();
    return true;
}

bool CCorvaneForm::ConfirmSelectedVisits()
{
    std::vector<std::size_t> positions;
    for (int row : SelectedRows())
        positions.push_back(m_listed->Position(row));
    return m_doc.ConfirmVisits(positions);
}

int CCorvaneForm::SelectedSuggestions() const
{
    int suggested = 0;
    for (const EntryInfo* line : LinesOfRows(SelectedRows()))
        suggested += line->visitSuggested ? 1 : 0;
    return suggested;
}

bool CCorvaneForm::HandleKey(const QKeyEvent& key)
{
    const auto modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier)
        return false;
    switch (key.key()) {
    case Qt::Key_Insert:
        AddLine();
        return true;
    case Qt::Key_Delete:
        DeleteSelected();
        return true;
    case Qt::Key_Space:
        ToggleCurrentMark();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_list->currentIndex().isValid())
            SelectRows({m_list->currentIndex().row()});
        EditSelected();
        return true;
    default:
        return false;
    }
}

bool CCorvaneForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_showAll && event->type() == QEvent::MouseButtonRelease)
        m_showAllClicked =
            m_showAll->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint());
    if (watched == m_list && event->type() == QEvent::KeyPress &&
        HandleKey(*static_cast<QKeyEvent*>(event)))
        return true;
    if (watched == m_list && event->type() == QEvent::ContextMenu && m_contextMenu) {
        m_contextMenu->exec(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QModelIndex index = m_list->indexAt(mouse->position().toPoint());
        const std::vector<int> selected = SelectedRows();
        if (selected.empty() || !index.isValid()) {
            if (selected.empty())
                AddLine();
            return true;
        }
        if (index.row() == selected.front() && index.column() != EntryTableModel::Print) {
            EditSelected();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
