#include "CCorvaneApp.h"

#include "AppLook.h"
#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "CCorvaneForm.h"
#include "CMainFrame.h"
#include "FileCommands.h"
#include "FontWarmUp.h"
#include "Icons.h"
#include "InstanceChannel.h"
#include "InstanceLock.h"
#include "ReaderChoice.h"
#include "RecentFiles.h"
#include "ScreenFit.h"
#include "WidgetPrompts.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>

CCorvaneApp::CCorvaneApp(QApplication& app, QStringList arguments, FontWarmUp& fonts)
    : m_app(app), m_fonts(fonts), m_arguments(std::move(arguments))
{
}

bool CCorvaneApp::ParseArguments()
{
    for (qsizetype i = 1; i < m_arguments.size(); ++i) {
        const QString& word = m_arguments[i];
        if ((word == QLatin1String("--reader") || word == QLatin1String("--station-db")) &&
            i + 1 < m_arguments.size()) {
            (word == QLatin1String("--reader") ? m_reader : m_stationDb) = m_arguments[++i];
        } else if (!word.startsWith(QLatin1String("--")) && m_claim.isEmpty()) {
            m_claim = word;
        } else {
            return false;
        }
    }
    return ReaderChoice::IsValid(m_reader);
}

int CCorvaneApp::Run()
{
    if (!ParseArguments()) {
        std::fputs("usage: fenwir [--reader auto|demo|image:FILE] [--station-db FILE] "
                   "[CLAIM.ent]\n",
                   stderr);
        return 2;
    }
    WidgetPrompts prompts;
    InstanceLock lock;
    if (!lock.TryLock()) {
        if (!lock.Problem().isEmpty()) {
            prompts.Ask(lock.Problem(), Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
            return 1;
        }
        // The running copy opens the file (or comes to the front) instead.
        if (InstanceChannel::Send(m_claim))
            return 0;
        prompts.Ask(AlreadyRunningText(), Prompts::Icon::None, Prompts::Buttons::Ok);
        return 1;
    }
    InstanceChannel channel;
    channel.Listen();
    AppSettings settings;
    settings.Load();
    if (!m_stationDb.isEmpty())
        settings.ConnectStringMdb =
            AppSettings::ConnectStringFor(QFileInfo(m_stationDb).absoluteFilePath());
    // Styles and palettes reach for the fonts.
    m_fonts.Wait();
    Icons::Install();
    ScreenFit::Install();
    AppLook::Apply(m_app, settings.AppLook);
    AppLook::UseJapaneseFont(m_app);

    ReaderChoice reader(m_reader);
    CCorvaneDoc doc(settings);
    CMainFrame frame(settings, doc, prompts, reader.Environment());
    prompts.SetParent(&frame);
    PrepareReader(reader.Environment());
    // The first new document loads the layout and the history, also when a
    // file named here is opened next.
    doc.NewDocument();
    frame.RestoreLayout();
    QObject::connect(&channel, &InstanceChannel::Received, &frame, &CMainFrame::TakeHandedOver);
    frame.show();
    frame.Form().FocusList();
    if (!m_claim.isEmpty()) {
        frame.Files().OpenPath(m_claim, false);
    } else if (settings.AutoLoad != 0 && !frame.Recent().Paths().isEmpty()) {
        frame.Files().OpenPath(frame.Recent().Paths().constFirst(), false);
    }
    // For start-up timing: end as soon as the window has been shown, without
    // the exit's saves (quit() would close the window and save its layout),
    // which are no part of starting.
    const bool timingStartUp = qEnvironmentVariableIsSet("FENWIR_QUIT_WHEN_SHOWN");
    if (timingStartUp)
        QTimer::singleShot(0, &m_app, &QApplication::quit);
    const int status = m_app.exec();
    if (timingStartUp)
        return status;
    RestReader(reader.Environment());
    settings.Save();
    return status;
}
