#pragma once

#include <QIdentityProxyModel>

// The file dialog's 更新日 column in the program's own (Japanese) date
// format: Qt writes it in the system locale's, English on a C or English
// desktop.
class FileDatesProxy : public QIdentityProxyModel
{
    Q_OBJECT

public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // The column the file system model keeps the modification time in.
    static constexpr int kDateColumn = 3;
};
