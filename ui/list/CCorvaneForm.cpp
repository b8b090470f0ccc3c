#include "CCorvaneForm.h"

#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "CEntryEditDlg.h"
#include "CListCtrlEx.h"
#include "ClaimRules.h"
#include "EntryTableModel.h"
#include "ListHeader.h"
#include "LocalTime.h"
#include "Prompts.h"
#include "RowMoves.h"
#include "TextFormat.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QUndoStack>
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
    m_undo = new QUndoStack(this);
    // The claim is modified exactly when the history is off its clean point.
    connect(m_undo, &QUndoStack::cleanChanged, this,
            [this](bool clean) { m_doc.SetModified(!clean); });
    m_editLine = [this](const EditRequest& request) { return RunEditor(request); };
    BuildControls();
    ApplyColumnWidths();
    SetGrid(m_settings.ListGridView != 0);
    SetZebra(m_settings.ListZebraView != 0);
    connect(&m_doc, &CCorvaneDoc::Updated, this, &CCorvaneForm::OnHint);
    m_showAll->setChecked(true);
    m_showAll->setEnabled(false);
    UpdateTotal();
    // A claim read before the form existed (a file named at start) is shown.
    if (!m_doc.Data().lines.empty())
        FillList();
}

CCorvaneForm::~CCorvaneForm()
{
    // The history, a child, is cleared as it goes: nobody is to hear of it.
    m_undo->disconnect(this);
}

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
    connect(m_cardButton, &QToolButton::clicked, this, &CCorvaneForm::ReadCardRequested);
    top->addWidget(m_cardButton);
    m_showAll = new QCheckBox(QStringLiteral("全て表示"), this);
    m_showAll->setObjectName(QStringLiteral("showAll"));
    connect(m_showAll, &QCheckBox::clicked, this, [this] {
        FillList();
        m_list->setFocus();
    });
    top->addWidget(m_showAll);
    top->addStretch();
    layout->addLayout(top);

    m_model = new EntryTableModel(this);
    connect(m_model, &EntryTableModel::CheckChanged, this, &CCorvaneForm::OnCheckChanged);
    m_list = new CListCtrlEx(this);
    m_list->setObjectName(QStringLiteral("historyList"));
    m_list->setHorizontalHeader(new ListHeader(m_list));
    m_list->setModel(m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setWordWrap(false);
    m_list->setTextElideMode(Qt::ElideRight);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 8);
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

    auto* bottom = new QHBoxLayout;
    m_totalCaption = new QLabel(QStringLiteral("合 計"), this);
    m_total = new QLabel(TotalTextFor(0), this);
    m_total->setObjectName(QStringLiteral("total"));
    bottom->addWidget(m_totalCaption);
    bottom->addWidget(m_total);
    bottom->addStretch();
    layout->addLayout(bottom);
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
    for (int c = 0; c < EntryTableModel::ColumnCount; ++c) {
        int width = widths[static_cast<std::size_t>(c)];
        if (c == EntryTableModel::Balance)
            width = kBalanceWidth; // shown or hidden by "全て表示"
        m_list->setColumnWidth(c, width > 0 ? width : kFallbackWidth);
    }
}

void CCorvaneForm::SaveColumnWidths()
{
    QStringList widths;
    for (int c = 0; c < EntryTableModel::ColumnCount; ++c)
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

int CCorvaneForm::RowCount() const
{
    return m_model->rowCount();
}

bool CCorvaneForm::ShowAll() const
{
    return m_showAll->isChecked();
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
        selection.select(m_model->index(row, 0),
                         m_model->index(row, EntryTableModel::ColumnCount - 1));
    m_list->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (!rows.empty())
        m_list->selectionModel()->setCurrentIndex(m_model->index(rows.back(), 0),
                                                  QItemSelectionModel::NoUpdate);
}

ListEditCommand::State CCorvaneForm::Take() const
{
    ListEditCommand::State state{m_model->Rows(), {}};
    state.marks.reserve(state.rows.size());
    for (const EntryInfo* line : state.rows)
        state.marks.push_back(line->applyFlag);
    return state;
}

void CCorvaneForm::Restore(const ListEditCommand::State& state)
{
    for (std::size_t i = 0; i < state.rows.size() && i < state.marks.size(); ++i)
        state.rows[i]->applyFlag = state.marks[i];
    const std::vector<int> selected = SelectedRows();
    m_model->SetRows(state.rows);
    SelectRows(selected.empty() || selected.front() >= RowCount()
                   ? std::vector<int>{}
                   : std::vector<int>{selected.front()});
    UpdateTotal();
}

std::vector<std::unique_ptr<EntryInfo>>
CCorvaneForm::DetachLines(const std::vector<EntryInfo*>& lines)
{
    std::vector<std::unique_ptr<EntryInfo>> detached;
    EntryLines& held = m_doc.Data().lines;
    for (EntryInfo* line : lines) {
        const auto at = std::find_if(held.begin(), held.end(),
                                     [line](const auto& own) { return own.get() == line; });
        if (at == held.end())
            continue;
        detached.push_back(std::move(*at));
        held.erase(at);
    }
    return detached;
}

void CCorvaneForm::AttachLines(std::vector<std::unique_ptr<EntryInfo>> lines)
{
    // Placed by the rows at the next rebuild.
    for (auto& line : lines)
        m_doc.Data().lines.push_back(std::move(line));
}

void CCorvaneForm::Push(const QString& text, ListEditCommand::State before,
                        std::unique_ptr<ListEditCommand>* command)
{
    auto edit = std::make_unique<ListEditCommand>(*this, text, std::move(before), Take());
    if (command)
        *command = std::move(edit);
    else
        m_undo->push(edit.release());
}

void CCorvaneForm::MarkSaved()
{
    m_undo->setClean();
}

void CCorvaneForm::OnHint(int hint)
{
    switch (hint) {
    case CCorvaneDoc::HintRefill:
        m_undo->clear(); // an opened claim starts a history of its own
        FillList();
        break;
    case CCorvaneDoc::HintRebuild:
        RebuildDocumentLines();
        break;
    case CCorvaneDoc::HintClear:
        Clear();
        break;
    default:
        break;
    }
}

int CCorvaneForm::FillList()
{
    m_filling = true;
    const bool showAll = ShowAll();
    m_list->setColumnHidden(EntryTableModel::Balance, !showAll);
    std::vector<EntryInfo*> rows;
    bool anyShown = false;
    for (const auto& line : m_doc.Data().lines) {
        anyShown = anyShown || IsListed(*line, true);
        if (!IsListed(*line, showAll))
            continue;
        if (line->applyFlag == 1 && !CanApply(*line))
            line->applyFlag = 0;
        rows.push_back(line.get());
    }
    m_model->SetRows(std::move(rows));
    if (RowCount() > 0)
        SelectRows({0});
    UpdateTotal();
    m_filling = false;
    // Offered whenever there is a line to show, so a claim whose lines are all
    // filtered out can still be shown whole.
    m_showAll->setEnabled(anyShown);
    Q_EMIT StateChanged();
    return RowCount();
}

void CCorvaneForm::UpdateTotal()
{
    const bool showAll = ShowAll();
    m_totalCaption->setVisible(!showAll);
    m_total->setVisible(!showAll);
    std::int64_t total = 0;
    m_checkedCount = 0;
    for (const EntryInfo* line : m_model->Rows()) {
        if (line->applyFlag != 1)
            continue;
        ++m_checkedCount;
        total += line->fare;
    }
    m_total->setText(TotalTextFor(total));
    Q_EMIT StateChanged();
}

void CCorvaneForm::OnCheckChanged(int row)
{
    if (m_filling || m_batch)
        return;
    ListEditCommand::State before = Take();
    before.marks[static_cast<std::size_t>(row)] ^= 1; // as it was before this change
    const QString text = before.marks[static_cast<std::size_t>(row)]
                             ? QStringLiteral("チェックを外す")
                             : QStringLiteral("チェック");
    Push(text, std::move(before));
    UpdateTotal();
}

void CCorvaneForm::SetAllChecks(bool checked, bool undoable)
{
    ListEditCommand::State before = Take();
    const std::vector<int> selected = SelectedRows();
    m_batch = true;
    for (int row = 0; row < RowCount(); ++row) {
        const bool isSelected = std::binary_search(selected.begin(), selected.end(), row);
        m_model->SetChecked(row, selected.size() > 1 ? (isSelected ? checked : !checked) : checked);
    }
    m_batch = false;
    if (before.marks != Take().marks) {
        if (undoable) {
            Push(QStringLiteral("チェックの一括変更"), std::move(before));
        } else {
            m_undo->clear();
            m_undo->resetClean();
            m_doc.SetModified(true);
        }
    }
    UpdateTotal();
}

void CCorvaneForm::SortByDate()
{
    const bool descending = m_columnToggle[1];
    std::vector<int> order(static_cast<std::size_t>(RowCount()));
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    const auto& rows = m_model->Rows();
    // The list sorts by the date as shown; format each once, not per comparison.
    std::vector<QString> dates;
    dates.reserve(rows.size());
    for (const auto& row : rows)
        dates.push_back(EntryTableModel::DateText(row->dateTime));
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const EntryInfo& x = *rows[static_cast<std::size_t>(a)];
        const EntryInfo& y = *rows[static_cast<std::size_t>(b)];
        const int byDate =
            dates[static_cast<std::size_t>(a)].compare(dates[static_cast<std::size_t>(b)]);
        const bool less = byDate != 0 ? byDate < 0 : x.serialNumber < y.serialNumber;
        const bool greater = byDate != 0 ? byDate > 0 : x.serialNumber > y.serialNumber;
        return descending ? greater : less;
    });
    ListEditCommand::State before = Take();
    m_model->Reorder(order);
    m_columnToggle[1] = !m_columnToggle[1];
    Push(QStringLiteral("日付で並べ替え"), std::move(before));
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

void CCorvaneForm::ApplyMove(const std::vector<int>& order, const std::vector<int>& selected)
{
    m_model->Reorder(order);
    SelectRows(selected);
    m_list->setFocus();
}

bool CCorvaneForm::MoveSelectedUp()
{
    const std::vector<int> selected = SelectedRows();
    m_list->setFocus();
    if (selected.empty())
        return false;
    ListEditCommand::State before = Take();
    const auto moved = RowMoves::MoveUp(RowCount(), selected);
    ApplyMove(moved.order, moved.selected);
    Push(QStringLiteral("上に移動"), std::move(before));
    return true;
}

bool CCorvaneForm::MoveSelectedDown()
{
    const std::vector<int> selected = SelectedRows();
    m_list->setFocus();
    if (selected.empty())
        return false;
    ListEditCommand::State before = Take();
    const auto moved = RowMoves::MoveDown(RowCount(), selected);
    ApplyMove(moved.order, moved.selected);
    Push(QStringLiteral("下に移動"), std::move(before));
    return true;
}

void CCorvaneForm::DropRows(const std::vector<int>& dragged, int dropRow)
{
    const auto moved = RowMoves::Drop(RowCount(), dragged, dropRow);
    // A drag changes only the working order; the document follows at the
    // next rebuild. It is undoable like any move.
    ListEditCommand::State before = Take();
    ApplyMove(moved.order, moved.selected);
    if (before.rows != Take().rows)
        Push(QStringLiteral("ドラッグで移動"), std::move(before));
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
    EntryInfo* line = m_model->Line(row);
    if (!CanApply(*line))
        return false;
    SelectRows({row});
    const auto edited = m_editLine({*line, nullptr, line->IsManual(), m_settings.TransitURL});
    m_list->setFocus();
    if (!edited)
        return false;
    ListEditCommand::State before = Take();
    const EntryInfo old = *line;
    *line = *edited;
    m_model->RowChanged(row);
    m_settings.AddVisit(line->visitDestination, line->exitStationName);
    UpdateTotal();
    std::unique_ptr<ListEditCommand> command;
    Push(QStringLiteral("項目編集"), std::move(before), &command);
    command->SetEdit(line, old, *line);
    m_undo->push(command.release());
    return true;
}

bool CCorvaneForm::AddLine()
{
    const std::vector<int> selected = SelectedRows();
    const int position = selected.empty() ? RowCount() : selected.front();
    const EntryInfo* templateLine = selected.empty() ? nullptr : m_model->Line(position);
    const EntryInfo fresh = EntryInfo::ManualLine(CurrentTimestamp());
    const auto added = m_editLine({fresh, templateLine, true, QString()});
    m_list->setFocus();
    if (!added)
        return false;
    ListEditCommand::State before = Take();
    auto line = std::make_unique<EntryInfo>(*added);
    if (line->applyFlag == 1 && !CanApply(*line))
        line->applyFlag = 0;
    EntryInfo* pointer = line.get();
    m_doc.Data().lines.push_back(std::move(line)); // placed by the next rebuild
    m_model->InsertRow(position, pointer);
    m_settings.AddVisit(pointer->visitDestination, pointer->exitStationName);
    UpdateTotal();
    SelectRows({position});
    std::unique_ptr<ListEditCommand> command;
    Push(QStringLiteral("項目追加"), std::move(before), &command);
    command->SetAdded(pointer);
    m_undo->push(command.release());
    return true;
}

bool CCorvaneForm::DeleteSelected()
{
    const std::vector<int> selected = SelectedRows();
    for (int row : selected) {
        if (!m_model->Line(row)->IsManual()) {
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
    ListEditCommand::State before = Take();
    std::vector<EntryInfo*> removed;
    for (auto row = selected.rbegin(); row != selected.rend(); ++row) {
        removed.push_back(m_model->Line(*row));
        m_model->RemoveRow(*row);
    }
    UpdateTotal();
    const int last = selected.back() - static_cast<int>(selected.size()) + 1;
    if (RowCount() > 0)
        SelectRows({std::min(last, RowCount() - 1)});
    // The deleted lines leave the claim; the undo history keeps them.
    std::unique_ptr<ListEditCommand> command;
    Push(QStringLiteral("項目削除"), std::move(before), &command);
    command->SetRemoved(DetachLines(removed));
    m_undo->push(command.release());
    m_list->viewport()->repaint();
    return true;
}

void CCorvaneForm::RebuildDocumentLines()
{
    std::vector<const EntryInfo*> listed(m_model->Rows().begin(), m_model->Rows().end());
    m_doc.Data().ReorderAsListed(listed);
}

void CCorvaneForm::Clear()
{
    m_undo->clear();
    m_model->SetRows({});
    m_doc.Data().Clear();
    Q_EMIT CardStatusCleared();
    m_showAll->setChecked(true);
    m_showAll->setEnabled(false);
    m_list->setColumnHidden(EntryTableModel::Balance, false);
    UpdateTotal();
}

bool CCorvaneForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier) {
            AddLine();
            return true;
        }
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            DeleteSelected();
            return true;
        }
    }
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
