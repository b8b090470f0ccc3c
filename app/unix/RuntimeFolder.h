#pragma once

#include <QString>

// The folder of the user's own where the running copy keeps its lock and its
// socket: the session's runtime folder (XDG_RUNTIME_DIR), or without one a
// folder made for the user in the temp folder. Either must be a folder the
// user owns that nobody else may enter (0700): anyone who could would take
// the lock first or read the files handed over.
namespace RuntimeFolder
{
// The folder, made when missing; empty when it is refused, with the reason
// in the user's words in *problem.
QString Find(QString* problem = nullptr);
// Whether folder (made 0700 when missing) is a folder of the user's alone.
bool Check(const QString& folder, QString* problem);
} // namespace RuntimeFolder
