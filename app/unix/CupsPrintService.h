#pragma once

#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

// The system's print service (CUPS): hands it a PDF and says whether it
// took the job. A queue that rejects jobs, or a printer that is gone, is a
// refusal with the service's reason; a stopped queue that holds the job is
// not.
class CupsPrintService
{
public:
    using Options = std::vector<std::pair<QByteArray, QByteArray>>;

    struct Submission {
        int jobId = 0; // 0 when refused
        QString error;
        // Taken but not printing: the queue is stopped or the job is held.
        // Why, in words for the user; empty when the job goes out.
        QString held;
    };

    static Submission Submit(const QString& printer, const QString& pdfPath, const QString& title,
                             const Options& options);
    // Whether the queue still holds job jobId (pending, held or printing),
    // made within a few minutes of `created` (seconds, UTC).
    static bool IsActive(const QString& printer, int jobId, std::int64_t created);
    // Cancels the job; false with the service's reason.
    static bool Cancel(const QString& printer, int jobId, QString* error);

    // Why the service refused a job, in Japanese: from its status code and,
    // for a queue that takes no jobs, the queue's own reason.
    static QString RefusalText(int status, const QString& queueMessage);
    // A queue's state message as a reason to show; empty when it is only
    // the service's default for a queue stopped or refusing without one.
    static QString QueueReason(const QString& message);
};
