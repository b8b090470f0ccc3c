#pragma once

#include "PrintItem.h"

#include <QByteArray>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <cstdint>
#include <vector>

class ArchiveReader;

// A print layout: the paper, two page offsets and the items. Read from .fmt
// files; the list item (kind 0) always heads the items.
class PrintFormat
{
public:
    static constexpr std::uint16_t kA4 = 9;
    static constexpr std::uint16_t kPortrait = 1;
    static constexpr std::uint16_t kLandscape = 2;
    static const QString kMarker;

    std::uint16_t paperSize = kA4;
    std::uint16_t orientation = kPortrait;
    std::int32_t leftMargin = 0;
    std::int32_t topMargin = 0;
    std::vector<PrintItem> items;

    bool IsEmpty() const { return items.empty(); }

    // The paper named by the printer-driver code (A4 for codes we do not know),
    // and the page in the layout's orientation.
    QPageSize PageSize() const;
    QPageLayout PageLayout() const;

    // Reads a layout file; on any failure the format is reset (A4, portrait,
    // no offsets, no items) and false returned.
    bool ReadFile(const QString& path);
    // The same from bytes already read, adding to the items; throws
    // ArchiveError and leaves the format partly read (ReadFile then resets it).
    void Read(ArchiveReader& in);
    // The layout at path, else the fallback file, else the built-in one-item layout.
    bool Load(const QString& path, const QString& fallbackPath);
    bool Load(const QString& path); // fallback: "Default.fmt" beside the program
    void Reset();

    static PrintItem BuiltInListItem();

private:
    void Repair();
};
