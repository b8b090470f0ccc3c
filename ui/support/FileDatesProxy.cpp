#include "FileDatesProxy.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLocale>
#include <QTreeView>

QVariant FileDatesProxy::data(const QModelIndex& index, int role) const
{
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || index.column() != kDateColumn || !files)
        return QIdentityProxyModel::data(index, role);
    return QLocale().toString(files->lastModified(mapToSource(index)), QLocale::ShortFormat);
}

void FileDatesProxy::ShowIn(QFileDialog& dialog)
{
    dialog.setProxyModel(new FileDatesProxy(&dialog));
    dialog.setViewMode(QFileDialog::Detail);
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!view)
        return; // the platform's own dialog shows its dates itself
    const QString widest =
        QLocale().toString(QDateTime(QDate(2026, 12, 28), QTime(23, 58)), QLocale::ShortFormat);
    const int margins = 4 * view->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, view);
    view->header()->resizeSection(kDateColumn,
                                  view->fontMetrics().horizontalAdvance(widest) + margins);
}
