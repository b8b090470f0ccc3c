#include "CupsPrintService.h"

#include <QLibrary>
#include <cstdlib>
#include <cups/cups.h>

namespace
{
// The print service's client library, loaded on the first print only, as Qt
// loads it for its print dialog: the program starts without it.
struct CupsLibrary {
    decltype(&cupsAddOption) addOption = nullptr;
    decltype(&cupsFreeOptions) freeOptions = nullptr;
    decltype(&cupsPrintFile2) printFile = nullptr;
    decltype(&cupsLastError) lastStatus = nullptr;
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
    decltype(&cupsCancelJob2) cancelJob = nullptr;

    bool Load()
    {
        if (printFile)
            return true;
        QLibrary library(QStringLiteral("cups"), 2);
        if (!library.load())
            return false;
        addOption = reinterpret_cast<decltype(addOption)>(library.resolve("cupsAddOption"));
        freeOptions = reinterpret_cast<decltype(freeOptions)>(library.resolve("cupsFreeOptions"));
        lastStatus = reinterpret_cast<decltype(lastStatus)>(library.resolve("cupsLastError"));
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
        cancelJob = reinterpret_cast<decltype(cancelJob)>(library.resolve("cupsCancelJob2"));
        return addOption && freeOptions && lastStatus && printFile && newRequest && addString &&
               doRequest && findAttribute && getString && getInteger && getCount && deleteIpp &&
               assembleUri && getJobs && freeJobs && cancelJob;
    }
};

// Why a stopped queue holds its jobs: the administrator's message when one
// was given, else the state's reason.
QString StoppedQueueReason(const QString& queue, const QString& message, const QString& reasons)
{
    QString why = QStringLiteral("プリンター %1 が停止しています").arg(queue);
    const QString reason = CupsPrintService::QueueReason(message);
    if (!reason.isEmpty())
        return why + QStringLiteral("（%1）").arg(reason);
    if (reasons.contains(QLatin1String("paused")))
        return why + QStringLiteral("（一時停止中）");
    return why;
}

struct QueueState {
    bool answered = false; // the service answered
    int state = 0;         // 0: no such queue
    QString message;
    QString reasons;
};

QueueState AskQueue(const CupsLibrary& cups, const QByteArray& queue)
{
    char uri[HTTP_MAX_URI];
    cups.assembleUri(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0,
                     "/printers/%s", queue.constData());
    ipp_t* request = cups.newRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    cups.addString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ipp_t* response = cups.doRequest(CUPS_HTTP_DEFAULT, request, "/");
    QueueState answer;
    if (!response)
        return answer;
    answer.answered = true;
    const auto text = [&](const char* name) {
        ipp_attribute_t* attribute = cups.findAttribute(response, name, IPP_TAG_ZERO);
        QStringList values;
        for (int i = 0; attribute && i < cups.getCount(attribute); ++i)
            values << QString::fromUtf8(cups.getString(attribute, i, nullptr));
        return values.join(QLatin1Char(','));
    };
    ipp_attribute_t* state = cups.findAttribute(response, "printer-state", IPP_TAG_ENUM);
    answer.state = state ? cups.getInteger(state, 0) : 0;
    answer.message = text("printer-state-message");
    answer.reasons = text("printer-state-reasons");
    cups.deleteIpp(response);
    return answer;
}

QByteArray QueueOf(const QString& printer)
{
    // A printer instance ("queue/instance") prints through its queue.
    return printer.section(QLatin1Char('/'), 0, 0).toLocal8Bit();
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
    const QueueState queueState = AskQueue(cups, queue);
    if (queueState.state != IPP_PSTATE_STOPPED)
        return QString();
    return StoppedQueueReason(QString::fromUtf8(queue), queueState.message, queueState.reasons);
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
    const QByteArray queue = QueueOf(printer);
    result.jobId =
        cups.printFile(CUPS_HTTP_DEFAULT, queue.constData(), pdfPath.toLocal8Bit().constData(),
                       title.toUtf8().constData(), count, cupsOptions);
    if (result.jobId == 0) {
        int status = cups.lastStatus();
        const QueueState queueState = AskQueue(cups, queue);
        // The service says little of a queue that is gone or of itself being
        // away; asking the queue tells which.
        if (status == IPP_STATUS_ERROR_INTERNAL || status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE) {
            if (!queueState.answered)
                status = IPP_STATUS_ERROR_SERVICE_UNAVAILABLE;
            else if (queueState.state == 0)
                status = IPP_STATUS_ERROR_NOT_FOUND;
        }
        result.error = RefusalText(status, queueState.message);
    } else
        result.held = HeldReason(cups, queue, result.jobId);
    cups.freeOptions(count, cupsOptions);
    return result;
}

bool CupsPrintService::IsActive(const QString& printer, int jobId, std::int64_t created)
{
    // A job number the service may give again, years on, is not this job.
    constexpr std::int64_t kSameJob = 300;
    CupsLibrary cups;
    if (!cups.Load())
        return false;
    const QByteArray queue = QueueOf(printer);
    cups_job_t* jobs = nullptr;
    const int count =
        cups.getJobs(CUPS_HTTP_DEFAULT, &jobs, queue.constData(), 0, CUPS_WHICHJOBS_ACTIVE);
    bool active = false;
    for (int i = 0; i < count; ++i)
        active = active || (jobs[i].id == jobId &&
                            std::abs(std::int64_t(jobs[i].creation_time) - created) <= kSameJob);
    cups.freeJobs(count, jobs);
    return active;
}

bool CupsPrintService::Cancel(const QString& printer, int jobId, QString* error)
{
    CupsLibrary cups;
    if (!cups.Load()) {
        *error = QStringLiteral("印刷サービス (CUPS) のライブラリがありません");
        return false;
    }
    const int status = cups.cancelJob(CUPS_HTTP_DEFAULT, QueueOf(printer).constData(), jobId, 0);
    if (status == IPP_STATUS_OK)
        return true;
    *error = RefusalText(status, QString());
    return false;
}

QString CupsPrintService::QueueReason(const QString& message)
{
    // The print service's own words when nobody gave a reason, in English.
    const QString reason = message.trimmed();
    if (reason == QLatin1String("Paused") || reason == QLatin1String("Rejecting Jobs"))
        return QString();
    return reason;
}

QString CupsPrintService::RefusalText(int status, const QString& queueMessage)
{
    switch (status) {
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS: {
        const QString reason = QueueReason(queueMessage);
        const QString text = QStringLiteral("ジョブの受け付けが停止されています");
        return reason.isEmpty() ? text : text + QStringLiteral("：") + reason;
    }
    case IPP_STATUS_ERROR_NOT_FOUND:
        return QStringLiteral("プリンターが見つかりません");
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
        return QStringLiteral("印刷サービスに接続できません");
    case IPP_STATUS_ERROR_FORBIDDEN:
    case IPP_STATUS_ERROR_NOT_AUTHENTICATED:
    case IPP_STATUS_ERROR_NOT_AUTHORIZED:
    case IPP_STATUS_ERROR_CUPS_AUTHENTICATION_CANCELED:
        return QStringLiteral("このプリンターで印刷する権限がありません");
    case IPP_STATUS_ERROR_CUPS_ACCOUNT_INFO_NEEDED:
    case IPP_STATUS_ERROR_CUPS_ACCOUNT_CLOSED:
    case IPP_STATUS_ERROR_CUPS_ACCOUNT_LIMIT_REACHED:
    case IPP_STATUS_ERROR_CUPS_ACCOUNT_AUTHORIZATION_FAILED:
        return QStringLiteral("印刷できる量の上限に達したか、印刷の利用が認められていません");
    case IPP_STATUS_ERROR_DOCUMENT_FORMAT_NOT_SUPPORTED:
        return QStringLiteral("プリンターが印刷データの形式 (PDF) に対応していません");
    case IPP_STATUS_ERROR_BUSY:
        return QStringLiteral("プリンターが使用中です");
    default:
        return QStringLiteral("印刷サービスのエラー 0x%1").arg(status, 4, 16, QLatin1Char('0'));
    }
}
