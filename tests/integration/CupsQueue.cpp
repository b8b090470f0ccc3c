#include "CupsQueue.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <cups/cups.h>

namespace
{
bool Write(const QString& path, const QString& text, QFile::Permissions permissions = {})
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text.toUtf8());
    file.close();
    return permissions == QFile::Permissions() || file.setPermissions(permissions);
}
} // namespace

CupsQueue::CupsQueue() = default;

CupsQueue::~CupsQueue()
{
    cupsSetServer(nullptr);
    if (m_cupsd && m_cupsd->state() != QProcess::NotRunning) {
        m_cupsd->terminate();
        if (!m_cupsd->waitForFinished(5000))
            m_cupsd->kill();
        m_cupsd->waitForFinished(5000);
    }
}

QString CupsQueue::JobFolder() const
{
    return m_dir.filePath(QStringLiteral("jobs"));
}

QString CupsQueue::Log() const
{
    QFile log(m_dir.filePath(QStringLiteral("log/error_log")));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

bool CupsQueue::Run(const QString& program, const QStringList& arguments, QString* out) const
{
    QProcess process;
    process.start(program, arguments);
    const bool ok = process.waitForFinished(30000) &&
                    process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (out)
        *out = QString::fromUtf8(process.readAllStandardOutput());
    return ok;
}

bool CupsQueue::Admin(const QStringList& arguments) const
{
    return Run(QStringLiteral("lpadmin"), arguments);
}

bool CupsQueue::RejectJobs() const
{
    return Run(QStringLiteral("/usr/sbin/cupsreject"), {m_queue});
}

bool CupsQueue::RejectJobsForPaper() const
{
    return Run(QStringLiteral("/usr/sbin/cupsreject"),
               {QStringLiteral("-r"), QStringLiteral("用紙補充のため停止中"), m_queue});
}

bool CupsQueue::Stop() const
{
    return Run(QStringLiteral("/usr/sbin/cupsdisable"), {m_queue});
}

bool CupsQueue::StopForPaper() const
{
    return Run(QStringLiteral("/usr/sbin/cupsdisable"),
               {QStringLiteral("-r"), QStringLiteral("用紙補充のため停止中"), m_queue});
}

bool CupsQueue::Remove() const
{
    return Admin({QStringLiteral("-x"), m_queue});
}

int CupsQueue::PendingJobs() const
{
    QString out;
    if (!Run(QStringLiteral("lpstat"), {QStringLiteral("-o"), m_queue}, &out))
        return -1;
    return static_cast<int>(out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size());
}

bool CupsQueue::Start(const QString& queue)
{
    m_queue = queue;
    const QString root = m_dir.path();
    for (const char* sub : {"spool", "tmp", "cache", "state", "log", "jobs", "bin/backend",
                            "bin/filter", "bin/daemon"})
        QDir().mkpath(root + QLatin1Char('/') + QLatin1String(sub));
    QFile::setPermissions(JobFolder(), QFile::Permissions(0x7777));
    QFile::setPermissions(root + QStringLiteral("/tmp"), QFile::Permissions(0x7777));
    // cupsd starts backends through its helper, looked up under ServerBin.
    QFile::link(QStringLiteral("/usr/lib/cups/daemon/cups-exec"),
                root + QStringLiteral("/bin/daemon/cups-exec"));
    const QString socket = root + QStringLiteral("/cups.sock");
    const bool written =
        Write(root + QStringLiteral("/cupsd.conf"),
              QStringLiteral("Listen %1\nLogLevel info\nWebInterface No\n"
                             "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                             "<Policy default>\n  JobPrivateAccess all\n  JobPrivateValues none\n"
                             "  SubscriptionPrivateAccess all\n  SubscriptionPrivateValues none\n"
                             "  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
                  .arg(socket)) &&
        Write(root + QStringLiteral("/cups-files.conf"),
              QStringLiteral("ServerRoot %1\nServerBin %1/bin\nRequestRoot %1/spool\n"
                             "TempDir %1/tmp\nCacheDir %1/cache\nStateDir %1/state\n"
                             "ErrorLog %1/log/error_log\nAccessLog %1/log/access_log\n"
                             "PageLog %1/log/page_log\n")
                  .arg(root)) &&
        // The backend keeps each job as sent, complete once renamed.
        Write(root + QStringLiteral("/bin/backend/capture"),
              QStringLiteral("#!/bin/sh\n"
                             "if [ $# -eq 0 ]; then echo 'direct capture \"Unknown\" \"Capture\"'; "
                             "exit 0; fi\n"
                             "out=${DEVICE_URI#capture:}\n"
                             "if [ -n \"$6\" ]; then cat \"$6\"; else cat; fi > \"$out/.job-$1\"\n"
                             "mv \"$out/.job-$1\" \"$out/job-$1.pdf\"\n"),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!written)
        return false;
    qputenv("CUPS_SERVER", socket.toUtf8());
    // The client library keeps the server it first used; this one's is new.
    cupsSetServer(socket.toUtf8().constData());
    m_cupsd = std::make_unique<QProcess>();
    m_cupsd->setProcessChannelMode(QProcess::MergedChannels);
    m_cupsd->start(QStringLiteral("/usr/sbin/cupsd"),
                   {QStringLiteral("-f"), QStringLiteral("-c"),
                    root + QStringLiteral("/cupsd.conf"), QStringLiteral("-s"),
                    root + QStringLiteral("/cups-files.conf")});
    if (!m_cupsd->waitForStarted(10000))
        return false;
    // Ready once the socket answers an administration request.
    const QDeadlineTimer deadline(20000);
    while (!QFileInfo::exists(socket) && !deadline.hasExpired() &&
           m_cupsd->state() == QProcess::Running)
        m_cupsd->waitForReadyRead(50);
    return Admin({QStringLiteral("-p"), queue, QStringLiteral("-E"), QStringLiteral("-v"),
                  QStringLiteral("capture:") + JobFolder(), QStringLiteral("-m"),
                  QStringLiteral("raw")}) &&
           Admin({QStringLiteral("-d"), queue});
}

QString CupsQueue::WaitForJob(int number, int milliseconds) const
{
    const QString path = QStringLiteral("%1/job-%2.pdf").arg(JobFolder()).arg(number);
    const QDeadlineTimer deadline(milliseconds);
    while (!QFileInfo::exists(path)) {
        if (deadline.hasExpired() || !m_cupsd || m_cupsd->state() != QProcess::Running)
            return QString();
        m_cupsd->waitForReadyRead(50); // wakes early on the daemon's output
    }
    return path;
}
