#pragma once

#include <QStringList>

class FontWarmUp;
class QApplication;

// The desktop program's run: one copy per user, the settings loaded at start
// and saved at the end, the claim named on the command line (or the last one
// with 自動読込), the reader put into reading mode at start and back to rest
// at the end.
//
//   fenwir [--reader auto|demo|image:FILE] [--station-db FILE] [CLAIM.ent]
class CCorvaneApp
{
public:
    CCorvaneApp(QApplication& app, QStringList arguments, FontWarmUp& fonts);

    // The exit status: 0, 1 when another copy runs, 2 for wrong usage.
    int Run();

    static QString AlreadyRunningText() { return QStringLiteral("すでに起動されています。"); }

private:
    bool ParseArguments();

    QApplication& m_app;
    FontWarmUp& m_fonts;
    QStringList m_arguments;
    QString m_reader = QStringLiteral("auto");
    QString m_stationDb;
    QString m_claim;
};
