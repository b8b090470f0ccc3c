#pragma once

#include <QIdentityProxyModel>

class QFileDialog;

// The file dialog's 更新日 column in the program's own (Japanese) date
// format: Qt writes it in the system locale's, English on a C or English
// desktop.
class FileDatesProxy : public QIdentityProxyModel
{
    Q_OBJECT

public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Puts the dates into one of Qt's own file dialogs, shown whole: the
    // details view, its date column as wide as the widest date.
    static void ShowIn(QFileDialog& dialog);
    // The column the file system model keeps the modification time in.
    static constexpr int kDateColumn = 3;
};
