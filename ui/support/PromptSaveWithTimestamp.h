#pragma once

#include <QString>

class Prompts;

// Asks for a file name to save to, proposing prefix + the local time as
// yymmdd-HHMMSS + extension in the folder; asks before replacing a file.
// Empty when the user cancels.
QString PromptSaveWithTimestamp(Prompts& prompts, const QString& prefix, const QString& extension,
                                const QString& folder, const QString& filter);
