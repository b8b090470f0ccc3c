#include "FileWriter.h"

#include <QSaveFile>

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
