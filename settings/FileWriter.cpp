#include "FileWriter.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

QString FileWriter::WriteFailedMessage(const QString& path, const QString& reason)
{
    return QStringLiteral("ファイル %1 に書き込めませんでした。(%2)").arg(path, reason);
}

bool FileWriter::WriteAtomically(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    // Unbuffered, so every write error is seen here: a buffered error surfaces
    // only inside commit(), which then renames a cut file over the old one.
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    ok = ok && file.write(bytes) == bytes.size();
    ok = ok && file.flush() && file.error() == QFileDevice::NoError;
    if (ok && file.commit())
        return true;
    const QString reason = file.errorString();
    file.cancelWriting();
    if (error)
        *error = WriteFailedMessage(path, reason);
    return false;
}

namespace
{
bool NameTaken(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}
} // namespace

FileWriter::Creation FileWriter::CreateNew(const QString& path, const QByteArray& bytes,
                                           QString* error)
{
    if (NameTaken(path))
        return Creation::Taken;
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    bool ok = file.open();
    ok = ok && file.write(bytes) == bytes.size();
    ok = ok && file.flush() && file.error() == QFileDevice::NoError;
    // The rename never replaces a file: it fails when the name was taken.
    if (ok && file.rename(path)) {
        file.setAutoRemove(false);
        return Creation::Created;
    }
    if (NameTaken(path))
        return Creation::Taken;
    if (error)
        *error = WriteFailedMessage(path, file.errorString());
    return Creation::Failed;
}
