#pragma once

#include "AppliedLines.h"

#include <QDialog>
#include <functional>
#include <vector>

class Prompts;
class QPushButton;
class QTableWidget;

// "申請履歴": the recorded applications, newest first, with their print
// time, usage period, amount, number of lines and whether they were taken
// back. 開く closes it with the chosen snapshot, which the caller opens as
// the record it is; 取消... takes the chosen application back after asking.
class CApplyHistoryDlg : public QDialog
{
    Q_OBJECT

public:
    // What the dialog asks of the application history.
    struct History {
        std::function<std::vector<AppliedLines::Application>()> list;
        // Takes the application (its record) back; false with the reason.
        std::function<bool(std::size_t record, QString* error)> cancel;
    };

    CApplyHistoryDlg(History history, Prompts& prompts, QWidget* parent = nullptr);

    QString SelectedPath() const { return m_chosen; }
    QTableWidget& Table() const { return *m_table; }
    QPushButton& OpenButton() const { return *m_open; }
    QPushButton& CancelButton() const { return *m_cancel; }

private:
    void Fill();
    void UpdateButtons();
    void OpenSelected();
    void CancelSelected();
    const AppliedLines::Application* Selected() const;

    History m_history;
    Prompts& m_prompts;
    std::vector<AppliedLines::Application> m_applications;
    QTableWidget* m_table = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_cancel = nullptr;
    QString m_chosen;
};
