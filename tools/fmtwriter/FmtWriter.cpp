#include "FmtWriter.h"

#include "ArchiveWriter.h"

QByteArray WriteFmt(const PrintFormat& format)
{
    ArchiveWriter out;
    out.WriteString(PrintFormat::kMarker);
    out.WriteUInt16(format.paperSize);
    out.WriteUInt16(format.orientation);
    out.WriteInt32(format.leftMargin);
    out.WriteInt32(format.topMargin);
    out.WriteInt32(static_cast<std::int32_t>(format.items.size()));
    for (const PrintItem& item : format.items) {
        for (std::int32_t value :
             {item.kind, item.pages, item.left, item.top, item.right, item.bottom, item.width,
              item.reserved, item.rowHeight, item.rowsPerPage})
            out.WriteInt32(value);
        out.WriteString(item.format);
        out.WriteString(item.format2);
        out.WriteInt32(item.align);
        out.WriteString(item.text);
        out.WriteString(item.fontFace);
        out.WriteInt32(item.fontHeight);
        out.WriteInt32(item.fontWeight);
        out.WriteByte(item.italic);
        out.WriteByte(item.underline);
        out.WriteByte(item.strikeOut);
        out.WriteInt32(item.penStyle);
        out.WriteInt32(item.penWidth);
    }
    return out.Data();
}
