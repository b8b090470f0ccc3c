#include "FileCommands.h"

#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "PromptSaveWithTimestamp.h"
#include "Prompts.h"
#include "RecentFiles.h"

#include <QFileInfo>

FileCommands::FileCommands(CCorvaneDoc& doc, AppSettings& settings, Prompts& prompts,
                           RecentFiles& recent, QObject* parent)
    : QObject(parent), m_doc(doc), m_settings(settings), m_prompts(prompts), m_recent(recent)
{
}

QString FileCommands::SaveQuestion(const QString& title)
{
    return QStringLiteral("%1 への変更を保存しますか?").arg(title);
}

bool FileCommands::SaveModified()
{
    if (!m_doc.IsModified())
        return true;
    switch (m_prompts.Ask(SaveQuestion(m_doc.Title()), Prompts::Icon::Exclamation,
                          Prompts::Buttons::YesNoCancel)) {
    case Prompts::Answer::Yes:
        return Save();
    case Prompts::Answer::No:
        return true;
    default:
        return false;
    }
}

bool FileCommands::New()
{
    if (!SaveModified())
        return false;
    return m_doc.NewDocument();
}

bool FileCommands::Open()
{
    if (!SaveModified())
        return false;
    const QString path = m_prompts.OpenFileName(
        QStringLiteral("開く"), m_settings.EntryPath,
        {QStringLiteral("交通費 (*.ent)"), QStringLiteral("すべてのファイル (*)")});
    return !path.isEmpty() && OpenPath(path, false);
}

bool FileCommands::OpenPath(const QString& path, bool askFirst)
{
    if (askFirst && !SaveModified())
        return false;
    QString error;
    if (!m_doc.Load(path, &error)) {
        m_prompts.Ask(error == CCorvaneDoc::UnexpectedFormatMessage()
                          ? QStringLiteral("%1\n\n%2").arg(path, error)
                          : error,
                      Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
        if (!QFileInfo::exists(path))
            m_recent.Remove(QFileInfo(path).absoluteFilePath());
        return false;
    }
    if (m_doc.Data().visitMarksUnreadable)
        m_prompts.Ask(QStringLiteral("%1\n\n%2").arg(path, m_doc.Data().UnreadableVisitMarksText()),
                      Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
    m_recent.Add(path);
    return true;
}

bool FileCommands::Save()
{
    const QFileInfo current(m_doc.Path());
    if (!m_doc.Path().isEmpty() && current.exists() && current.isWritable() &&
        !m_doc.IsRecordedApplication())
        return SaveTo(m_doc.Path());
    return SaveAs();
}

bool FileCommands::SaveAs()
{
    const QString path = PromptSaveWithTimestamp(
        m_prompts, QStringLiteral("Entry"), QStringLiteral(".ent"), m_settings.EntryPath, Filter());
    if (path.isEmpty())
        return false;
    m_settings.EntryPath = QFileInfo(path).absolutePath();
    return SaveTo(path);
}

bool FileCommands::SaveTo(const QString& path)
{
    QString error;
    if (!m_doc.Save(path, &error)) {
        m_prompts.Ask(error, Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
        return false;
    }
    m_recent.Add(path);
    return true;
}
