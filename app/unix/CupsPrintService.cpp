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
    decltype(&ippNewRequest) newRequest = nullptr;
    decltype(&ippAddString) addString = nullptr;
    decltype(&cupsDoRequest) doRequest = nullptr;
    decltype(&ippFindAttribute) findAttribute = nullptr;
    decltype(&ippGetString) getString = nullptr;
    decltype(&ippGetInteger) getInteger = nullptr;
    decltype(&ippGetCount) getCount = nullptr;
    decltype(&ippDelete) deleteIpp = nullptr;
    decltype(&httpAssembleURIf) assembleUri = nullptr;
    decltype(&cupsGetJobs2) getJobs = nullptr;
    decltype(&cupsFreeJobs) freeJobs = nullptr;

    bool Load()
    {
        if (printFile)
            return true;
        QLibrary library(QStringLiteral("cups"), 2);
        if (!library.load())
            return false;
        addOption = reinterpret_cast<decltype(addOption)>(library.resolve("cupsAddOption"));
        freeOptions = reinterpret_cast<decltype(freeOptions)>(library.resolve("cupsFreeOptions"));
        lastError = reinterpret_cast<decltype(lastError)>(library.resolve("cupsLastErrorString"));
        printFile = reinterpret_cast<decltype(printFile)>(library.resolve("cupsPrintFile2"));
        newRequest = reinterpret_cast<decltype(newRequest)>(library.resolve("ippNewRequest"));
        addString = reinterpret_cast<decltype(addString)>(library.resolve("ippAddString"));
        doRequest = reinterpret_cast<decltype(doRequest)>(library.resolve("cupsDoRequest"));
        findAttribute =
            reinterpret_cast<decltype(findAttribute)>(library.resolve("ippFindAttribute"));
        getString = reinterpret_cast<decltype(getString)>(library.resolve("ippGetString"));
        getInteger = reinterpret_cast<decltype(getInteger)>(library.resolve("ippGetInteger"));
        getCount = reinterpret_cast<decltype(getCount)>(library.resolve("ippGetCount"));
        deleteIpp = reinterpret_cast<decltype(deleteIpp)>(library.resolve("ippDelete"));
        assembleUri = reinterpret_cast<decltype(assembleUri)>(library.resolve("httpAssembleURIf"));
        getJobs = reinterpret_cast<decltype(getJobs)>(library.resolve("cupsGetJobs2"));
        freeJobs = reinterpret_cast<decltype(freeJobs)>(library.resolve("cupsFreeJobs"));
        return addOption && freeOptions && lastError && printFile && newRequest && addString &&
               doRequest && findAttribute && getString && getInteger && getCount && deleteIpp &&
               assembleUri && getJobs && freeJobs;
    }
};

// Why a stopped queue holds its jobs: the administrator's message when one
// was given, else the state's reason.
QString StoppedQueueReason(const QString& queue, const QString& message, const QString& reasons)
{
    QString why = QStringLiteral("プリンター %1 が停止しています").arg(queue);
    if (!message.trimmed().isEmpty())
        return why + QStringLiteral("（%1）").arg(message.trimmed());
    if (reasons.contains(QLatin1String("paused")))
        return why + QStringLiteral("（一時停止中）");
    return why;
}

// Empty when the job goes out; otherwise why it waits.
QString HeldReason(const CupsLibrary& cups, const QByteArray& queue, int jobId)
{
    cups_job_t* jobs = nullptr;
    const int count =
        cups.getJobs(CUPS_HTTP_DEFAULT, &jobs, queue.constData(), 0, CUPS_WHICHJOBS_ACTIVE);
    bool jobHeld = false;
    for (int i = 0; i < count; ++i)
        jobHeld = jobHeld || (jobs[i].id == jobId && jobs[i].state == IPP_JSTATE_HELD);
    cups.freeJobs(count, jobs);
    if (jobHeld)
        return QStringLiteral("ジョブが保留に設定されています");
    char uri[HTTP_MAX_URI];
    cups.assembleUri(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0,
                     "/printers/%s", queue.constData());
    ipp_t* request = cups.newRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    cups.addString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ipp_t* response = cups.doRequest(CUPS_HTTP_DEFAULT, request, "/");
    if (!response)
        return QString();
    const auto text = [&](const char* name) {
        ipp_attribute_t* attribute = cups.findAttribute(response, name, IPP_TAG_ZERO);
        QStringList values;
        for (int i = 0; attribute && i < cups.getCount(attribute); ++i)
            values << QString::fromUtf8(cups.getString(attribute, i, nullptr));
        return values.join(QLatin1Char(','));
    };
    ipp_attribute_t* state = cups.findAttribute(response, "printer-state", IPP_TAG_ENUM);
    QString held;
    if (state && cups.getInteger(state, 0) == IPP_PSTATE_STOPPED)
        held = StoppedQueueReason(QString::fromUtf8(queue), text("printer-state-message"),
                                  text("printer-state-reasons"));
    cups.deleteIpp(response);
    return held;
}
} // namespace

CupsPrintService::Submission CupsPrintService::Submit(const QString& printer,
                                                      const QString& pdfPath, const QString& title,
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
    result.jobId =
        cups.printFile(CUPS_HTTP_DEFAULT, queue.constData(), pdfPath.toLocal8Bit().constData(),
                       title.toUtf8().constData(), count, cupsOptions);
    if (result.jobId == 0)
        result.error = QString::fromUtf8(cups.lastError());
    else
        result.held = HeldReason(cups, queue, result.jobId);
    cups.freeOptions(count, cupsOptions);
    return result;
}
