#include "EntryRecord.h"

#include "ArchiveReader.h"
#include "ArchiveWriter.h"

void EntryRecord::Read(ArchiveReader& in, int version, EntryInfo& line)
{
    line.hidden = in.ReadByte();
    line.applyFlag = in.ReadByte();
    in.ReadBytes(line.idm.data(), line.idm.size());
    line.terminalType = in.ReadByte();
    line.processType = in.ReadByte();
    if (version >= 3) {
        line.paymentType = in.ReadByte();
        line.recordByte3 = in.ReadByte();
    }
    line.dateTime = in.ReadTime();
    line.balance = in.ReadInt32();
    line.fare = in.ReadInt32();
    line.serialNumber = in.ReadInt32();
    line.regionByte = in.ReadInt32();
    if (version >= 2) {
        line.distance = in.ReadInt32();
        line.bearing = in.ReadFloat();
    }
    line.visitDestination = in.ReadString();
    line.remarks = in.ReadString();
    line.entryArea = in.ReadByte();
    line.entryLine = in.ReadInt32();
    line.entryStation = in.ReadInt32();
    line.entryStationName = in.ReadString();
    line.entryLineName = in.ReadString();
    line.entryCompanyName = in.ReadString();
    if (version >= 2) {
        line.entryLatitude = in.ReadDouble();
        line.entryLongitude = in.ReadDouble();
    }
    line.exitArea = in.ReadByte();
    line.exitLine = in.ReadInt32();
    line.exitStation = in.ReadInt32();
    line.exitStationName = in.ReadString();
    line.exitLineName = in.ReadString();
    line.exitCompanyName = in.ReadString();
    if (version >= 2) {
        line.exitLatitude = in.ReadDouble();
        line.exitLongitude = in.ReadDouble();
    }
}

void EntryRecord::Write(ArchiveWriter& out, const EntryInfo& line)
{
    out.WriteByte(line.hidden);
    out.WriteByte(line.applyFlag);
    out.WriteBytes(line.idm.data(), line.idm.size());
    out.WriteByte(line.terminalType);
    out.WriteByte(line.processType);
    out.WriteByte(line.paymentType);
    out.WriteByte(line.recordByte3);
    out.WriteTime(line.dateTime);
    out.WriteInt32(line.balance);
    out.WriteInt32(line.fare);
    out.WriteInt32(line.serialNumber);
    out.WriteInt32(line.regionByte);
    out.WriteInt32(line.distance);
    out.WriteFloat(line.bearing);
    out.WriteString(line.visitDestination);
    out.WriteString(line.remarks);
    out.WriteByte(line.entryArea);
    out.WriteInt32(line.entryLine);
    out.WriteInt32(line.entryStation);
    out.WriteString(line.entryStationName);
    out.WriteString(line.entryLineName);
    out.WriteString(line.entryCompanyName);
    out.WriteDouble(line.entryLatitude);
    out.WriteDouble(line.entryLongitude);
    out.WriteByte(line.exitArea);
    out.WriteInt32(line.exitLine);
    out.WriteInt32(line.exitStation);
    out.WriteString(line.exitStationName);
    out.WriteString(line.exitLineName);
    out.WriteString(line.exitCompanyName);
    out.WriteDouble(line.exitLatitude);
    out.WriteDouble(line.exitLongitude);
}
