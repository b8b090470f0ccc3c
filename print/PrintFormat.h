#pragma once

#include <cstddef>

// The document's print layout. Until layouts are read it holds no items.
class PrintFormat
{
public:
    bool IsEmpty() const { return m_itemCount == 0; }

private:
    std::size_t m_itemCount = 0;
};
