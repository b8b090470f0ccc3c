#include "CupsPrintService.h"

#include <QLibrary>
#include <cups/cups.h>

namespace
{
// The print service's client library, loaded on the first print only, as Qt
// loads it for its print dialog: the program starts without it.
struct CupsLibrary {
    decltype(&cupsAddOption) addOption = nullptr;
    decltype(&cupsFreeOptions) freeOptions = nullptr;
    decltype(&cupsPrintFile2) printFile = nullptr;
    decltype(&cupsLastErrorString) lastError = nullptr;

    bool Load()
    {
        if (printFile)
            return true;
        QLibrary library(QStringLiteral("cups"), 2);
        if (!library.load())
            return false;
        addOption = reinterpret_cast<decltype(addOption)>(library.resolve("cupsAddOption"));
        freeOptions = reinterpret_cast<decltype(freeOptions)>(library.resolve("cupsFreeOptions"));
        lastError =
            reinterpret_cast<decltype(lastError)>(library.resolve("cupsLastErrorString"));
        printFile = reinterpret_cast<decltype(printFile)>(library.resolve("cupsPrintFile2"));
        return addOption && freeOptions && lastError && printFile;
    }
};
} // namespace

CupsPrintService::Submission CupsPrintService::Submit(const QString& printer,
                                                      const QString& pdfPath,
                                                      const QString& title,
                                                      const Options& options)
{
    CupsLibrary cups;
    Submission result;
    if (!cups.Load()) {
        result.error = QStringLiteral("印刷サービス (CUPS) のライブラリがありません。");
        return result;
    }
    cups_option_t* cupsOptions = nullptr;
    int count = 0;
    for (const auto& [name, value] : options)
        count = cups.addOption(name.constData(), value.constData(), count, &cupsOptions);
    // A printer instance ("queue/instance") prints through its queue.
    const QByteArray queue = printer.section(QLatin1Char('/'), 0, 0).toLocal8Bit();
    result.jobId = cups.printFile(CUPS_HTTP_DEFAULT, queue.constData(),
                                  pdfPath.toLocal8Bit().constData(), title.toUtf8().constData(),
                                  count, cupsOptions);
    if (result.jobId == 0)
        result.error = QString::fromUtf8(cups.lastError());
    cups.freeOptions(count, cupsOptions);
    return result;
}
