#pragma once

#include "AppliedLines.h"

#include <QDialog>
#include <vector>

class QPushButton;
class QTableWidget;

// "申請履歴": the recorded applications, newest first, with their date,
// amount and number of lines. 開く closes it with the chosen snapshot, which
// the caller opens as the record it is.
class CApplyHistoryDlg : public QDialog
{
    Q_OBJECT

public:
    CApplyHistoryDlg(const std::vector<AppliedLines::Application>& applications,
                     QWidget* parent = nullptr);

    QString SelectedPath() const { return m_chosen; }
    QTableWidget& Table() const { return *m_table; }
    QPushButton& OpenButton() const { return *m_open; }

private:
    void UpdateButtons();
    void OpenSelected();

    std::vector<AppliedLines::Application> m_applications;
    QTableWidget* m_table = nullptr;
    QPushButton* m_open = nullptr;
    QString m_chosen;
};
