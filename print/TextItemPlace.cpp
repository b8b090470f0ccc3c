#include "TextItemPlace.h"

#include <QRectF>
#include <algorithm>
#include <cstdlib>

namespace
{
// Kept clear between a text and what stands beside or above it.
constexpr int kGap = 10;
// A ruled line this far below a text's top is the line it is written on.
constexpr int kRuleReach = 2;

bool IsText(const PrintItem& item)
{
    return (item.kind >= PrintItem::Text && item.kind <= PrintItem::PageNumber) ||
           item.kind == PrintItem::Total;
}

int Height(const PrintItem& item)
{
    return std::abs(item.fontHeight != 0 ? item.fontHeight : kDefaultFontHeight);
}

bool Overlap(int a1, int a2, int b1, int b2)
{
    return a1 < b2 && b1 < a2;
}
} // namespace

TextItemPlace::TextItemPlace(const PrintFormat& format,
                             std::function<int(const PrintItem&)> itemWidth)
    : m_format(format), m_itemWidth(std::move(itemWidth))
{
}

bool TextItemPlace::Extent(const PrintItem& item, CanvasRect& extent) const
{
    switch (item.kind) {
    case PrintItem::List: {
        int right = item.left;
        for (const PrintItem& column : m_format.items)
            if (column.IsColumn())
                right = std::max(right, item.left + column.left + column.width);
        extent = {item.left, item.top, right,
                  item.top + item.rowHeight * (std::max(1, item.rowsPerPage) + 2)};
        return true;
    }
    case PrintItem::Line:
    case PrintItem::Box:
    case PrintItem::Stamp:
        extent = {std::min(item.left, item.right), std::min(item.top, item.bottom),
                  std::max(item.left, item.right), std::max(item.top, item.bottom)};
        return true;
    default:
        if (!IsText(item))
            return false;
        extent = {item.left, item.top, item.left + m_itemWidth(item), item.top + Height(item)};
        return true;
    }
}

CanvasRect TextItemPlace::Of(const PrintItem& item) const
{
    const int height = Height(item);
    const int bottom = item.top + height;
    // The paper's width, as far as the layout's offset leaves it.
    const QSizeF paper = m_format.PageLayout().fullRect(QPageLayout::Millimeter).size();
    int right = static_cast<int>(paper.width() * 10) - m_format.leftMargin - kGap;
    int ceiling = 0;
    for (const PrintItem& other : m_format.items) {
        CanvasRect extent;
        if (&other == &item || !Extent(other, extent))
            continue;
        const bool rule = other.kind == PrintItem::Line && other.top == other.bottom;
        if (rule && extent.left <= item.left && extent.right > item.left && extent.top > item.top &&
            extent.top <= item.top + kRuleReach * height) {
            // The line the text is written on ends its room.
            right = std::min(right, extent.right);
            continue;
        }
        if (extent.left > item.left && Overlap(extent.top, extent.bottom, item.top, bottom))
            right = std::min(right, extent.left - kGap);
    }
    for (const PrintItem& other : m_format.items) {
        CanvasRect extent;
        if (&other == &item || !Extent(other, extent))
            continue;
        if (extent.bottom <= item.top && Overlap(extent.left, extent.right, item.left, right))
            ceiling = std::max(ceiling, extent.bottom + kGap);
    }
    return {item.left, std::min(ceiling, item.top), std::max(right, item.left + 1), bottom};
}
