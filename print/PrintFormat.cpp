#include "PrintFormat.h"

#include "ArchiveError.h"
#include "ArchiveReader.h"
#include "Folders.h"

#include <QFile>
#include <QRectF>
#include <algorithm>

const QString PrintFormat::kMarker = QStringLiteral("<## PrintFormat ##>");

namespace
{
PrintItem ReadItem(ArchiveReader& in)
{
    PrintItem item;
    item.kind = in.ReadInt32();
    item.pages = in.ReadInt32();
    item.left = in.ReadInt32();
    item.top = in.ReadInt32();
    item.right = in.ReadInt32();
    item.bottom = in.ReadInt32();
    item.width = in.ReadInt32();
    item.reserved = in.ReadInt32();
    item.rowHeight = in.ReadInt32();
    item.rowsPerPage = in.ReadInt32();
    item.format = in.ReadString();
    item.format2 = in.ReadString();
    item.align = in.ReadInt32();
    item.text = in.ReadString();
    item.fontFace = in.ReadString();
    item.fontHeight = in.ReadInt32();
    item.fontWeight = in.ReadInt32();
    item.italic = in.ReadByte();
    item.underline = in.ReadByte();
    item.strikeOut = in.ReadByte();
    item.penStyle = in.ReadInt32();
    item.penWidth = in.ReadInt32();
    return item;
}
} // namespace

QPageSize PrintFormat::PageSize() const
{
    switch (paperSize) {
    case 1:
        return QPageSize(QPageSize::Letter);
    case 5:
        return QPageSize(QPageSize::Legal);
    case 8:
        return QPageSize(QPageSize::A3);
    case 11:
        return QPageSize(QPageSize::A5);
    case 12:
        return QPageSize(QPageSize::JisB4);
    case 13:
        return QPageSize(QPageSize::JisB5);
    default:
        return QPageSize(QPageSize::A4);
    }
}

QPageLayout PrintFormat::PageLayout() const
{
    return QPageLayout(PageSize(),
                       orientation == kLandscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}

void PrintFormat::Reset()
{
    paperSize = kA4;
    orientation = kPortrait;
    leftMargin = 0;
    topMargin = 0;
    items.clear();
}

void PrintFormat::Read(ArchiveReader& in)
{
    if (in.ReadString() != kMarker)
        throw ArchiveError("not a print layout");
    paperSize = in.ReadUInt16();
    orientation = in.ReadUInt16();
    leftMargin = in.ReadInt32();
    topMargin = in.ReadInt32();
    const std::int32_t count = in.ReadInt32();
    for (std::int32_t i = 0; i < count; ++i) {
        PrintItem item = ReadItem(in);
        if (item.kind == PrintItem::List)
            items.insert(items.begin(), std::move(item));
        else
            items.push_back(std::move(item));
    }
    Repair();
}

// The table is drawn from the first list item, with its rows per page as the
// divisor of the pagination. Layouts that break this are mended rather than
// refused, so their texts, shapes and stamps still print: only the first list
// item is kept, columns without any list item are dropped (nothing could place
// them), rows per page below 1 become the built-in layout's 20, and more rows
// than the paper can hold become as many as it holds (a huge count would
// print billions of filler rows).
void PrintFormat::Repair()
{
    const bool hasList = !items.empty() && items.front().kind == PrintItem::List;
    const auto extra = std::remove_if(
        items.begin() + (hasList ? 1 : 0), items.end(), [hasList](const PrintItem& item) {
            return item.kind == PrintItem::List || (!hasList && item.IsColumn());
        });
    items.erase(extra, items.end());
    if (!hasList)
        return;
    PrintItem& list = items.front();
    if (list.rowsPerPage < 1)
        list.rowsPerPage = BuiltInListItem().rowsPerPage;
    const double pageHeight = PageLayout().fullRect(QPageLayout::Millimeter).height() * 10;
    const int fitting = std::max(1, static_cast<int>(pageHeight / std::max(1, list.rowHeight)));
    list.rowsPerPage = std::min(list.rowsPerPage, fitting);
}

bool PrintFormat::ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    try {
        ArchiveReader in(file.readAll());
        Read(in);
        return true;
    } catch (const ArchiveError&) {
        Reset();
        return false;
    }
}

PrintItem PrintFormat::BuiltInListItem()
{
    PrintItem item;
    item.kind = PrintItem::List;
    item.left = 10;
    item.top = 10;
    item.rowHeight = 60;
    item.rowsPerPage = 20;
    item.align = 0x8025;
    item.fontFace = QStringLiteral("ＭＳ ゴシック");
    item.fontHeight = 40;
    item.fontWeight = 400;
    item.penStyle = 0;
    item.penWidth = 1;
    return item;
}

bool PrintFormat::Load(const QString& path, const QString& fallbackPath)
{
    if (ReadFile(path) || ReadFile(fallbackPath))
        return true;
    items.insert(items.begin(), BuiltInListItem());
    return true;
}

bool PrintFormat::Load(const QString& path)
{
    return Load(path, JoinPath(GetModuleFolder(), QStringLiteral("Default.fmt")));
}
