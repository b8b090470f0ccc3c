#include "CListCtrlEx.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

CListCtrlEx::CListCtrlEx(QWidget* parent) : QTableView(parent)
{
    m_scrollTimer.setInterval(100);
    connect(&m_scrollTimer, &QTimer::timeout, this, &CListCtrlEx::AutoScroll);
}

QItemSelectionModel::SelectionFlags CListCtrlEx::selectionCommand(const QModelIndex& index,
                                                                  const QEvent* event) const
{
    if (!event || event->type() != QEvent::KeyPress)
        return QTableView::selectionCommand(index, event);
    const auto* key = static_cast<const QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // Qt's list moves only the focus with Ctrl; here the line moves.
        if (key->modifiers() & Qt::ShiftModifier)
            return QItemSelectionModel::SelectCurrent | QItemSelectionModel::Rows;
        return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    default:
        return QTableView::selectionCommand(index, event);
    }
}

QModelIndex CListCtrlEx::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    // Home and End go to the first and last line, as in a desktop list; in a
    // table of whole rows, the first or last cell of a row means nothing.
    if (action == MoveHome || action == MoveEnd)
        modifiers |= Qt::ControlModifier;
    return QTableView::moveCursor(action, modifiers);
}

void CListCtrlEx::mousePressEvent(QMouseEvent* event)
{
    m_pressPos = event->position().toPoint();
    const QModelIndex index = indexAt(m_pressPos);
    m_pressedOnSelection = event->button() == Qt::LeftButton && index.isValid() &&
                           selectionModel()->isRowSelected(index.row(), {}) &&
                           event->modifiers() == Qt::NoModifier;
    // A press on a selected row may start a drag: keep the selection until
    // the mouse is released without one.
    if (m_pressedOnSelection && index.column() != 0)
        return;
    QTableView::mousePressEvent(event);
}

void CListCtrlEx::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (!m_dragging && m_pressedOnSelection && (event->buttons() & Qt::LeftButton) &&
        (pos - m_pressPos).manhattanLength() >= QApplication::startDragDistance())
        BeginDrag();
    if (!m_dragging) {
        if (!m_pressedOnSelection)
            QTableView::mouseMoveEvent(event);
        return;
    }
    const QModelIndex index = indexAt(QPoint(8, pos.y()));
    if (index.isValid())
        Highlight(index.row());
    UpdateScrollDirection(pos.y());
}

void CListCtrlEx::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_dragging) {
        m_scrollTimer.stop();
        m_scroll = Scroll::None;
        m_dragging = false;
        const std::vector<int> dragged = m_dragged;
        const int drop = m_dropRow;
        m_dragged.clear();
        m_dropRow = -1;
        viewport()->update();
        Q_EMIT RowsDropped(dragged, drop);
        return;
    }
    if (m_pressedOnSelection) {
        // A click on a selected row without a drag selects just that row.
        m_pressedOnSelection = false;
        const QModelIndex index = indexAt(event->position().toPoint());
        if (index.isValid())
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                         QItemSelectionModel::Rows);
        return;
    }
    QTableView::mouseReleaseEvent(event);
}

void CListCtrlEx::BeginDrag()
{
    m_dragged.clear();
    for (const QModelIndex& row : selectionModel()->selectedRows())
        m_dragged.push_back(row.row());
    std::sort(m_dragged.begin(), m_dragged.end());
    m_dropRow = -1;
    m_dragging = !m_dragged.empty();
}

void CListCtrlEx::Highlight(int row)
{
    if (!model() || row < 0 || row >= model()->rowCount() || row == m_dropRow)
        return;
    m_dropRow = row;
    viewport()->update();
}

void CListCtrlEx::UpdateScrollDirection(int y)
{
    if (y < 0)
        m_scroll = Scroll::Up;
    else if (y > viewport()->height())
        m_scroll = Scroll::Down;
    else
        m_scroll = Scroll::None;
    if (m_scroll == Scroll::None)
        m_scrollTimer.stop();
    else if (!m_scrollTimer.isActive())
        m_scrollTimer.start();
}

void CListCtrlEx::AutoScroll()
{
    if (!m_dragging || m_scroll == Scroll::None) {
        m_scrollTimer.stop();
        return;
    }
    QScrollBar* bar = verticalScrollBar();
    if (m_scroll == Scroll::Up) {
        bar->setValue(bar->value() - 1);
        Highlight(m_dropRow - 1);
    } else {
        bar->setValue(bar->value() + 1);
        Highlight(m_dropRow + 1);
    }
}

void CListCtrlEx::SetPlaceholderText(const QString& text)
{
    if (text == m_placeholder)
        return;
    m_placeholder = text;
    viewport()->update();
}

void CListCtrlEx::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    if (model() && model()->rowCount() == 0 && !m_placeholder.isEmpty()) {
        QPainter painter(viewport());
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(viewport()->rect().adjusted(16, 16, -16, -16),
                         Qt::AlignCenter | Qt::TextWordWrap, m_placeholder);
        return;
    }
    if (!m_dragging || m_dropRow < 0 || !model())
        return;
    // The drop target: a bar on the edge the rows will land at.
    const QRect row = visualRect(model()->index(m_dropRow, 0));
    const bool after = !m_dragged.empty() && m_dragged.front() < m_dropRow;
    const int y = after ? row.bottom() : row.top();
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Highlight), 3));
    painter.drawLine(0, y, viewport()->width(), y);
}
