#pragma once

#include <QString>
#include <cstdint>

// One thing a print layout places on the page: the table (kind 0), one of its
// columns (1-12), or a text, shape or stamp of its own (13-23). Positions and
// sizes are in 0.1 mm from the printable area's top-left corner.
struct PrintItem {
    enum Kind : std::int32_t {
        List = 0,
        ColNumber = 1,
        ColDate = 2,
        ColEntryCompany = 3,
        ColEntryLine = 4,
        ColEntryStation = 5,
        ColExitCompany = 6,
        ColExitLine = 7,
        ColExitStation = 8,
        ColFare = 9,
        ColBalance = 10,
        ColVisit = 11,
        ColRemarks = 12,
        Line = 13,
        Text = 14,
        ClaimantPost = 15,
        ClaimantIdNumber = 16,
        ClaimantName = 17,
        ApplyDate = 18,
        Title = 19,
        PageNumber = 20,
        Stamp = 21,
        Box = 22,
        Total = 23,
    };
    // pages: every page, first, last, every page of a claim of two or more;
    // on the list item 4 asks for filler rows.
    enum Pages : std::int32_t {
        AllPages = 0,
        FirstPage = 1,
        LastPage = 2,
        MultiPage = 3,
        FillRows = 4
    };

    std::int32_t kind = List;
    std::int32_t pages = AllPages;
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    std::int32_t width = 0;
    std::int32_t reserved = 0;
    std::int32_t rowHeight = 0;
    std::int32_t rowsPerPage = 0;
    QString format;
    QString format2;
    std::int32_t align = 0;
    QString text;
    QString fontFace;
    std::int32_t fontHeight = 0;
    std::int32_t fontWeight = 400;
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::int32_t penStyle = 0;
    std::int32_t penWidth = 0;

    bool IsColumn() const { return kind >= ColNumber && kind <= ColRemarks; }
    bool operator==(const PrintItem&) const = default;
};
