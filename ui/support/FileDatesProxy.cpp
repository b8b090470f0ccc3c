#include "FileDatesProxy.h"

#include <QFileSystemModel>
#include <QLocale>

QVariant FileDatesProxy::data(const QModelIndex& index, int role) const
{
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || index.column() != kDateColumn || !files)
        return QIdentityProxyModel::data(index, role);
    return QLocale().toString(files->lastModified(mapToSource(index)), QLocale::ShortFormat);
}
