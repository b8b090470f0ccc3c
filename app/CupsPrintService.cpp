#include "CupsPrintService.h"

#include <cups/cups.h>

CupsPrintService::Submission CupsPrintService::Submit(const QString& printer,
                                                      const QString& pdfPath, const QString& title,
                                                      const Options& options)
{
    cups_option_t* cupsOptions = nullptr;
    int count = 0;
    for (const auto& [name, value] : options)
        count = cupsAddOption(name.constData(), value.constData(), count, &cupsOptions);
    // A printer instance ("queue/instance") prints through its queue.
    const QByteArray queue = printer.section(QLatin1Char('/'), 0, 0).toLocal8Bit();
    Submission result;
    result.jobId =
        cupsPrintFile2(CUPS_HTTP_DEFAULT, queue.constData(), pdfPath.toLocal8Bit().constData(),
                       title.toUtf8().constData(), count, cupsOptions);
    if (result.jobId == 0)
        result.error = QString::fromUtf8(cupsLastErrorString());
    cupsFreeOptions(count, cupsOptions);
    return result;
}
