#pragma once

#include "PageCanvas.h"
#include "PrintFormat.h"

#include <functional>

// The room a text item of a layout has on the page (its texts, the claimant's
// details, the date): rightwards from its position to what stands beside it
// (a stamp, a box, another text, the table) or to the end of the ruled line
// it is written on, else to the paper's edge; upwards from its own bottom to
// what stands above it. A text wider than its room is made smaller, then
// wrapped into it, so nothing runs onto what stands beside it.
class TextItemPlace
{
public:
    // itemWidth measures another text item as printed.
    TextItemPlace(const PrintFormat& format, std::function<int(const PrintItem&)> itemWidth);

    // In the layout's coordinates (the page offsets not added).
    CanvasRect Of(const PrintItem& item) const;

private:
    // What an item covers on the page; false for an item that covers nothing.
    bool Extent(const PrintItem& item, CanvasRect& extent) const;

    const PrintFormat& m_format;
    std::function<int(const PrintItem&)> m_itemWidth;
};
