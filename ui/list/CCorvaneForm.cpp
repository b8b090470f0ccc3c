#include "CCorvaneForm.h"

#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "CEntryEditDlg.h"
#include "CListCtrlEx.h"
#include "CardIdentity.h"
#include "ClaimPeriod.h"
#include "EntryTableModel.h"
#include "ListHeader.h"
#include "ListedLinesModel.h"
#include "LocalTime.h"
#include "Prompts.h"
#include "RowMoves.h"
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

namespace
{
constexpr int kBalanceWidth = 80;
// Columns whose stored or default width says nothing usable get this one.
constexpr int kFallbackWidth = 100;
} // namespace

CCorvaneForm::CCorvaneForm(CCorvaneDoc& doc, AppSettings& settings, Prompts& prompts,
                           QWidget* parent)
    : QWidget(parent), m_doc(doc), m_settings(settings), m_prompts(prompts)
{
    m_columnToggle.fill(true);
    m_editLine = [this](const EditRequest& request) { return RunEditor(request); };
    BuildControls();
    ApplyColumnWidths();
    SetGrid(m_settings.ListGridView != 0);
    SetZebra(m_settings.ListZebraView != 0);
    // The total follows each change by the lines it touched, not by a recount
    // of the whole claim.
    connect(&m_doc, &CCorvaneDoc::LinesAboutToBeRemoved, this,
            [this](int first, int last) { Account(first, last, -1); });
    connect(&m_doc, &CCorvaneDoc::LinesAboutToBeChanged, this,
            [this](int first, int last) { Account(first, last, -1); });
    connect(&m_doc, &CCorvaneDoc::LinesInserted, this,
            [this](int first, int last) { Account(first, last, +1); });
    connect(&m_doc, &CCorvaneDoc::LinesChanged, this,
            [this](int first, int last) { Account(first, last, +1); });
    connect(&m_doc, &CCorvaneDoc::LinesEdited, this, &CCorvaneForm::ShowTotal);
    connect(&m_doc, &CCorvaneDoc::LinesEdited, this, &CCorvaneForm::ShowCardColumn);
    connect(&m_doc, &CCorvaneDoc::LinesReset, this, &CCorvaneForm::OnReset);
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
    connect(m_showAll, &QCheckBox::clicked, this, [this] {
        ApplyFilter();
        FocusList();
    });
    top->addWidget(m_showAll);
    top->addSpacing(16);
    top->addLayout(BuildPeriodControls());
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
    // The day a line was claimed reads best beside its mark.
    m_list->horizontalHeader()->moveSection(EntryTableModel::Applied, 1);
    m_list->horizontalHeader()->moveSection(EntryTableModel::Card, 2);
    m_model->SetCardNames(
        [this](const CardId& idm) { return m_settings.CardNameOf(CardIdHex(idm)); });
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
    QWidget::setTabOrder(m_showAll, m_period);

    auto* bottom = new QHBoxLayout;
    m_totalCaption = new QLabel(QStringLiteral("合 計"), this);
    m_total = new QLabel(TotalTextFor(0), this);
    m_total->setObjectName(QStringLiteral("total"));
    bottom->addWidget(m_totalCaption);
    bottom->addWidget(m_total);
    bottom->addStretch();
    layout->addLayout(bottom);
}

QLayout* CCorvaneForm::BuildPeriodControls()
{
    m_today = [] { return QDate::currentDate(); };
    m_periodRow = new QHBoxLayout;
    auto* caption = new QLabel(QStringLiteral("期間(&P)"), this);
    m_period = new QComboBox(this);
    m_period->setObjectName(QStringLiteral("period"));
    m_period->addItems({QStringLiteral("全期間"), QStringLiteral("今月"), QStringLiteral("先月"),
                        QStringLiteral("期間指定")});
    caption->setBuddy(m_period);
    connect(m_period, &QComboBox::currentIndexChanged, this, [this](int index) {
        const bool range = index == static_cast<int>(Period::Range);
        if (range)
            EnsureDateEdits();
        if (m_from) {
            for (QWidget* widget : {static_cast<QWidget*>(m_from), static_cast<QWidget*>(m_dash),
                                    static_cast<QWidget*>(m_to)})
                widget->setVisible(range);
        }
        ApplyFilter();
    });
    m_periodRow->addWidget(caption);
    m_periodRow->addWidget(m_period);
    return m_periodRow;
}

void CCorvaneForm::EnsureDateEdits()
{
    // Made when first needed: date fields are slow to build, and most months
    // are claimed as 今月 or 先月.
    if (m_from)
        return;
    const auto makeDate = [this](const char* name, const QDate& day) {
        auto* edit = new QDateEdit(day, this);
        edit->setObjectName(QLatin1String(name));
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
        connect(edit, &QDateEdit::dateChanged, this, [this] { ApplyFilter(); });
        return edit;
    };
    // From the first of last month to today: what a monthly claim is for.
    const QDate today = m_today();
    m_from = makeDate("periodFrom", QDate(today.year(), today.month(), 1).addMonths(-1));
    m_to = makeDate("periodTo", today);
    m_dash = new QLabel(QStringLiteral("～"), this);
    m_periodRow->addWidget(m_from);
    m_periodRow->addWidget(m_dash);
    m_periodRow->addWidget(m_to);
    const bool range = m_period->currentIndex() == static_cast<int>(Period::Range);
    for (QWidget* widget : {static_cast<QWidget*>(m_from), static_cast<QWidget*>(m_dash),
                            static_cast<QWidget*>(m_to)})
        widget->setVisible(range);
    QWidget::setTabOrder(m_period, m_from);
    QWidget::setTabOrder(m_from, m_to);
}

void CCorvaneForm::SetPeriod(Period period, const QDate& from, const QDate& to)
{
    if (from.isValid() || to.isValid() || period == Period::Range)
        EnsureDateEdits();
    if (from.isValid())
        m_from->setDate(from);
    if (to.isValid())
        m_to->setDate(to);
    m_period->setCurrentIndex(static_cast<int>(period));
    ApplyFilter();
}

ClaimFilter CCorvaneForm::PeriodFilter() const
{
    switch (static_cast<Period>(m_period->currentIndex())) {
    case Period::ThisMonth:
        return ClaimPeriod::MonthOf(m_today());
    case Period::LastMonth:
        return ClaimPeriod::MonthBefore(m_today());
    case Period::Range:
        // Dates given the wrong way round mean the same days.
        return m_from ? ClaimPeriod::Between(std::min(m_from->date(), m_to->date()),
                                             std::max(m_from->date(), m_to->date()))
                      : ClaimFilter();
    default:
        return {};
    }
}

std::array<int, 12> CCorvaneForm::ParseColumnWidths(const QString& text)
{
    std::array<int, 12> widths{};
    const QStringList tokens = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (int c = 0; c < 12; ++c) {
        widths[static_cast<std::size_t>(c)] = EntryTableModel::DefaultWidth(c);
        if (c < tokens.size())
            widths[static_cast<std::size_t>(c)] = std::atoi(tokens[c].toUtf8().constData());
    }
    return widths;
}

void CCorvaneForm::ApplyColumnWidths()
{
    const auto widths = ParseColumnWidths(m_settings.ListControlWidth);
    for (const int column : {EntryTableModel::Applied, EntryTableModel::Card})
        m_list->setColumnWidth(column, EntryTableModel::DefaultWidth(column));
    for (int c = 0; c < EntryTableModel::StoredColumnCount; ++c) {
        int width = widths[static_cast<std::size_t>(c)];
        if (c == EntryTableModel::Balance)
            width = kBalanceWidth; // shown or hidden by "全て表示"
        m_list->setColumnWidth(c, width > 0 ? width : kFallbackWidth);
    }
}

void CCorvaneForm::SaveColumnWidths()
{
    QStringList widths;
    for (int c = 0; c < EntryTableModel::StoredColumnCount; ++c)
        widths << QString::number(m_list->isColumnHidden(c) ? 0 : m_list->columnWidth(c));
    m_settings.ListControlWidth = widths.join(QLatin1Char(','));
}

QString CCorvaneForm::TotalTextFor(std::int64_t total)
{
    return FormatAmount(total) + QStringLiteral("円");
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
    int width = m_list->verticalScrollBar()->sizeHint().width() + 2 * m_list->frameWidth();
    for (int c = 0; c < EntryTableModel::ColumnCount; ++c)
        if (!m_list->isColumnHidden(c))
            width += m_list->columnWidth(c);
    const QMargins margins = layout()->contentsMargins();
    return width + margins.left() + margins.right();
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
        m_list->setColumnHidden(EntryTableModel::Card, !HoldsSeveralCards(m_doc.Lines()));
}

void CCorvaneForm::CardNamesChanged()
{
    m_model->CardNamesChanged();
}

void CCorvaneForm::ApplyFilter()
{
    if (!m_list)
        return; // still being built
    ClaimFilter filter = PeriodFilter();
    filter.showAll = ShowAll();
    m_listed->SetFilter(filter);
    m_list->setColumnHidden(EntryTableModel::Balance, !filter.showAll);
    if (!m_list->currentIndex().isValid() && RowCount() > 0)
        SelectRows({0});
    const ClaimSummary claim = SummarizeListed(m_doc.Lines(), m_listed->Positions());
    m_checkedCount = static_cast<int>(claim.lines);
    m_checkedTotal = claim.total;
    ShowTotal();
}

void CCorvaneForm::ShowPlaceholder()
{
    m_list->SetPlaceholderText(
        m_doc.Lines().empty() ? QStringLiteral("Ctrl+R またはカードボタンでカードを読み込みます")
                              : QStringLiteral("この期間に表示する明細はありません"));
}

void CCorvaneForm::Account(int first, int last, int sign)
{
    const auto& lines = m_doc.Lines();
    const ClaimFilter filter = Filter();
    for (int position = first; position <= last; ++position) {
        const EntryInfo& line = *lines[static_cast<std::size_t>(position)];
        if (IsClaimed(line, filter)) {
            m_checkedCount += sign;
            m_checkedTotal += sign * static_cast<std::int64_t>(line.fare);
        }
    }
}

void CCorvaneForm::ShowTotal()
{
    ShowPlaceholder();
    const bool showAll = ShowAll();
    m_totalCaption->setVisible(!showAll);
    m_total->setVisible(!showAll);
    m_total->setText(TotalTextFor(m_checkedTotal));
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
    const EntryInfo* line = current.isValid() ? LineAt(current.row()) : nullptr;
    if (!line)
        return;
    const bool checked = line->applyFlag != 1;
    m_listed->setData(m_listed->index(current.row(), EntryTableModel::Print),
                      checked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
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
    for (int i = 0; i < count; ++i) {
        order[static_cast<std::size_t>(i)] = i;
        rows[static_cast<std::size_t>(i)] = LineAt(i);
        dates[static_cast<std::size_t>(i)] =
            EntryTableModel::DateText(rows[static_cast<std::size_t>(i)]->dateTime);
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const auto x = static_cast<std::size_t>(a);
        const auto y = static_cast<std::size_t>(b);
        const int byDate = dates[x].compare(dates[y]);
        const std::int32_t sx = rows[x]->serialNumber;
        const std::int32_t sy = rows[y]->serialNumber;
        const bool less = byDate != 0 ? byDate < 0 : sx < sy;
        const bool greater = byDate != 0 ? byDate > 0 : sx > sy;
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
    if (!CanApply(*line))
        return false;
    SelectRows({row});
    auto edited = m_editLine({*line, nullptr, line->IsManual(), m_settings.TransitURL});
    m_list->setFocus();
    if (!edited)
        return false;
    // The dialog marks every line with a fare; a trip claimed already keeps
    // its mark off unless the user ticks it again (and is asked).
    if (line->applyFlag == 0 && m_doc.AppliedOn(*line))
        edited->applyFlag = 0;
    m_settings.AddVisit(edited->visitDestination, edited->exitStationName);
    m_doc.EditLine(m_listed->Position(row), *edited);
    SelectLines({line});
    return true;
}

bool CCorvaneForm::AddLine()
{
    const std::vector<int> selected = SelectedRows();
    const EntryInfo* templateLine = selected.empty() ? nullptr : LineAt(selected.front());
    const std::size_t position =
        selected.empty() ? m_doc.Lines().size() : m_listed->Position(selected.front());
    const EntryInfo fresh = EntryInfo::ManualLine(CurrentTimestamp());
    const auto added = m_editLine({fresh, templateLine, true, QString()});
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
