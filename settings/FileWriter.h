#pragma once

#include <QByteArray>
#include <QString>

// The one way the program replaces a user's file: the bytes go to a new file
// beside it, are flushed and checked, and only then renamed over the old one.
// A full disk, a size limit or a vanished folder leaves the old file byte for
// byte and returns false with a message that names the file.
namespace FileWriter
{
bool WriteAtomically(const QString& path, const QByteArray& bytes, QString* error);

enum class Creation { Created, Taken, Failed };
// Writes bytes as a new file under path, never over a file of that name, one
// that appears meanwhile included: they go to a temporary file beside it, are
// flushed and checked, and only then take the name if it is still free
// (Taken otherwise; Failed with error set on any other failure).
Creation CreateNew(const QString& path, const QByteArray& bytes, QString* error);
// The message for a file that could not be written.
QString WriteFailedMessage(const QString& path, const QString& reason);
} // namespace FileWriter
