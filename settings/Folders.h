#pragma once

#include <QString>

// The program's folders. None of these hold state; each asks the platform anew.

// The user's documents folder with the subfolder "Fenwir Lite", created when
// missing; the documents folder itself when that fails.
QString GetDocumentsFolder();
// The per-user application-data folder Norkel/Fenwir Lite, created when
// missing; the module folder when that fails.
QString GetDataFolder();
// The folder that holds the running executable.
QString GetModuleFolder();
// The two paths with exactly one separator between them; empty when the
// result would be longer than the platform allows, so no caller goes on with
// a path it did not ask for.
QString JoinPath(const QString& first, const QString& second);
// parent/name, created (one level) when it is not a folder yet; empty on
// failure, and when parent is no absolute path (never a folder relative to
// wherever the program happens to run).
QString EnsureSubfolder(const QString& parent, const QString& name);
