#include "EntryInfo.h"

EntryInfo EntryInfo::ManualLine(std::int64_t now)
{
    EntryInfo line;
    line.applyFlag = 1;
    line.terminalType = kManualCode;
    line.processType = kManualCode;
    line.dateTime = now;
    return line;
}
