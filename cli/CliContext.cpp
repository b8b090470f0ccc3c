#include "CliContext.h"

#include "CCorvaneDoc.h"
#include "Console.h"

#include <QFileInfo>

CliContext::CliContext(const CommandLine& line, bool withSettings)
{
    if (withSettings)
        settings.Load();
    settings.dbPassword = QLatin1String(AppSettings::kDbPassword);
    const auto database = line.Option(QStringLiteral("--station-db"));
    connectString = database
                        ? AppSettings::ConnectStringFor(QFileInfo(*database).absoluteFilePath())
                        : AppSettings::BuiltInConnectString();
}

bool CliContext::OpenDocument(CCorvaneDoc& doc, const QString& path, bool createIfMissing) const
{
    if (createIfMissing && !QFileInfo::exists(path)) {
        doc.NewDocument();
        return true;
    }
    QString error;
    if (doc.Load(path, &error)) {
        if (doc.Data().visitMarksUnreadable)
            Console::Err(QStringLiteral("fenwir-cli: %1: %2\n")
                             .arg(path, doc.Data().UnreadableVisitMarksText()));
        return true;
    }
    Console::Fail(error == CCorvaneDoc::UnexpectedFormatMessage()
                      ? path + QStringLiteral(": ") + error
                      : error);
    return false;
}
