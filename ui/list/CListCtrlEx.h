#pragma once

#include <QPoint>
#include <QTableView>
#include <QTimer>
#include <vector>

// A report list whose selected rows the user can drag to another place, with
// the list scrolling by itself (a line every 100 ms) while the mouse is held
// above or below the rows. The view only reports the drop; the owner moves
// the rows (RowMoves::Drop) and says whether anything is modified. As in a
// desktop list, every key that moves the current line (arrows with or
// without Ctrl, Home, End, PageUp, PageDown) selects it, and Shift extends
// the selection to it: the highlighted line is the one keys and commands act on.
class CListCtrlEx : public QTableView
{
    Q_OBJECT

public:
    explicit CListCtrlEx(QWidget* parent = nullptr);

    bool IsDragging() const { return m_dragging; }
    // What an empty list says instead of rows.
    void SetPlaceholderText(const QString& text);
    QString PlaceholderText() const { return m_placeholder; }
    int DropRow() const { return m_dropRow; }

Q_SIGNALS:
    // The dragged rows (ascending) were dropped on a row (-1: none).
    void RowsDropped(const std::vector<int>& dragged, int dropRow);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void BeginDrag();
    void Highlight(int row);
    void AutoScroll();
    void UpdateScrollDirection(int y);

    enum class Scroll { None, Up, Down };

    QString m_placeholder;
    QPoint m_pressPos;
    bool m_pressedOnSelection = false;
    bool m_dragging = false;
    std::vector<int> m_dragged;
    int m_dropRow = -1;
    Scroll m_scroll = Scroll::None;
    QTimer m_scrollTimer;
};
