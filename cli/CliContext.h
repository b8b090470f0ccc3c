#pragma once

#include "AppSettings.h"
#include "CommandLine.h"

#include <QString>

class CCorvaneDoc;

// What every command shares: the user's settings (read, never written back)
// and the station database to name stations from.
class CliContext
{
public:
    // withSettings: whether the command uses the user's settings at all.
    CliContext(const CommandLine& line, bool withSettings);

    AppSettings settings;
    QString connectString;

    // Opens an expense file; with createIfMissing a missing file gives a new
    // claim. False with the reason printed otherwise.
    bool OpenDocument(CCorvaneDoc& doc, const QString& path, bool createIfMissing) const;
};
