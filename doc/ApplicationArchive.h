#pragma once

#include "AppliedLines.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

class PrintFormat;

// Recorded applications written out for an archive: per application the
// claim's PDF drawn again from its snapshot as it was printed (its lines,
// claimant, period and number, through the layout given), named
// "20261130_交通費精算_4540円_A00012.pdf" ("_取消" added when it was taken
// back), and one index "申請一覧.csv" (UTF-8 with BOM). The same
// applications give the same bytes every time. A file already there is
// never replaced: the same bytes are left as they are, other bytes go under
// a free name, and the report says so.
class ApplicationArchive
{
public:
    struct Report {
        QStringList written;   // files made
        QStringList unchanged; // files already there with the same bytes
        QStringList notes;     // what the user must know (other names, failures)
        bool failed = false;   // something could not be written
    };

    static Report Export(std::vector<AppliedLines::Application> applications,
                         const PrintFormat& layout, const QString& folder);

    static QString FileName(const AppliedLines::Application& application);
    static QByteArray Pdf(const AppliedLines::Application& application, const PrintFormat& layout,
                          QString* error);
    // Oldest first.
    static QByteArray Index(const std::vector<AppliedLines::Application>& applications);

    static const QString kIndexName;

private:
    static void Place(const QString& folder, const QString& name, const QByteArray& bytes,
                      Report& report);
};
