#pragma once

#include <QHeaderView>

// The list's column header. Qt sizes header sections for bold text, which the
// list never shows (its sections are not highlighted); measuring with the
// header's own font spares loading a bold CJK font at every start.
class ListHeader : public QHeaderView
{
public:
    // Clickable like a table's own header: 印刷 marks all, 日付 sorts.
    explicit ListHeader(QWidget* parent = nullptr) : QHeaderView(Qt::Horizontal, parent)
    {
        setSectionsClickable(true);
    }

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override;
};
