#include "RecentFiles.h"

#include "AppSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>
#include <memory>

namespace
{
const char* const kGroup = "Recent File List";
} // namespace

RecentFiles::RecentFiles(int maxCount, QObject* parent)
    : QObject(parent), m_maxCount(std::max(1, maxCount)),
      m_menu(new QMenu(QStringLiteral("最近使ったファイル(&F)"), nullptr))
{
    m_menu->setObjectName(QStringLiteral("ID_FILE_MRU"));
    connect(this, &QObject::destroyed, m_menu, &QObject::deleteLater);
    Rebuild();
}

void RecentFiles::Load()
{
    const auto store = AppSettings::OpenUserStore();
    store->beginGroup(QLatin1String(kGroup));
    m_paths.clear();
    for (int i = 1; i <= m_maxCount; ++i) {
        const QString path = store->value(QStringLiteral("File%1").arg(i)).toString();
        if (!path.isEmpty())
            m_paths << path;
    }
    Rebuild();
}

void RecentFiles::Save() const
{
    const auto store = AppSettings::OpenUserStore();
    store->remove(QLatin1String(kGroup));
    store->beginGroup(QLatin1String(kGroup));
    for (int i = 0; i < m_paths.size(); ++i)
        store->setValue(QStringLiteral("File%1").arg(i + 1), m_paths[i]);
}

void RecentFiles::Add(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    m_paths.removeAll(absolute);
    m_paths.prepend(absolute);
    while (m_paths.size() > m_maxCount)
        m_paths.removeLast();
    Rebuild();
}

void RecentFiles::Remove(const QString& path)
{
    m_paths.removeAll(path);
    Rebuild();
}

void RecentFiles::Rebuild()
{
    m_menu->clear();
    m_menu->setEnabled(!m_paths.isEmpty());
    for (int i = 0; i < m_paths.size(); ++i) {
        const QString path = m_paths[i];
        QAction* action = m_menu->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)));
        action->setStatusTip(QStringLiteral("指定のファイルを開く"));
        connect(action, &QAction::triggered, this, [this, path] { Q_EMIT OpenRequested(path); });
    }
}
