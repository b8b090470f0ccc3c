#include "ListHeader.h"

#include <QStyleOptionHeader>

QSize ListHeader::sectionSizeFromContents(int logicalIndex) const
{
    if (!model() || isSectionHidden(logicalIndex))
        return {};
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.section = logicalIndex;
    option.text = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
    option.fontMetrics = fontMetrics();
    return style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), this);
}
