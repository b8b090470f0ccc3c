#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// A private CUPS daemon with one raw queue whose backend keeps every job as
// sent (job-N.pdf in a folder), for printing tests. Clients reach it through
// CUPS_SERVER, which Start sets for this process and its children.
class CupsQueue
{
public:
    CupsQueue();
    ~CupsQueue();

    bool Start(const QString& queue);
    QString Queue() const { return m_queue; }
    QString JobFolder() const;
    // Waits up to the timeout for a job file to be complete; its path or empty.
    QString WaitForJob(int number, int milliseconds = 30000) const;
    QString Log() const;
    // The queue as an administrator leaves it: refusing jobs (cupsreject),
    // stopped but still taking jobs (cupsdisable), or gone (lpadmin -x).
    bool RejectJobs() const;
    // Refusing jobs with the administrator's reason "用紙補充のため停止中".
    bool RejectJobsForPaper() const;
    bool Stop() const;
    // Stopped with the administrator's reason "用紙補充のため停止中".
    bool StopForPaper() const;
    bool Remove() const;
    // Jobs the queue holds and has not printed.
    int PendingJobs() const;

private:
    bool Admin(const QStringList& arguments) const;
    bool Run(const QString& program, const QStringList& arguments, QString* out = nullptr) const;

    QTemporaryDir m_dir;
    QString m_queue;
    std::unique_ptr<QProcess> m_cupsd;
};
