#pragma once

#include "AppliedLines.h"

#include <QDialog>
#include <functional>
#include <vector>

class Prompts;
class QLabel;
class QPushButton;
class QTableWidget;

// "申請履歴": the recorded applications, newest first, with their print
// time, usage period, amount, number of lines and whether they were taken
// back (取消) or their print is still held (保留). 開く closes it with the
// chosen snapshot, which the caller opens as the record it is; 取消... takes
// the chosen application back after asking. A damaged history is said above
// the list, and 修復... makes it whole after asking.
class CApplyHistoryDlg : public QDialog
{
    Q_OBJECT

public:
    // What the dialog asks of the application history.
    struct History {
        std::function<std::vector<AppliedLines::Application>()> list;
        // Takes the application back; false with the reason, true with what
        // the user must know besides (or nothing).
        std::function<bool(const AppliedLines::Application&, QString* message)> cancel;
        // Whether the application's print is still held in a queue.
        std::function<bool(const AppliedLines::Application&)> held;
        // Why the history takes no change now; empty when it does.
        std::function<QString()> problem;
        // Whether the history is damaged, and repair makes it whole.
        std::function<bool()> damaged;
        std::function<bool(QString* report)> repair;
    };

    CApplyHistoryDlg(History history, Prompts& prompts, QWidget* parent = nullptr);

    QString SelectedPath() const { return m_chosen; }
    QTableWidget& Table() const { return *m_table; }
    QPushButton& OpenButton() const { return *m_open; }
    QPushButton& CancelButton() const { return *m_cancel; }
    QPushButton& RepairButton() const { return *m_repair; }
    QLabel& ProblemLabel() const { return *m_problem; }

private:
    void Fill();
    void UpdateButtons();
    void OpenSelected();
    void CancelSelected();
    void RepairHistory();
    const AppliedLines::Application* Selected() const;

    History m_history;
    Prompts& m_prompts;
    std::vector<AppliedLines::Application> m_applications;
    QTableWidget* m_table = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_repair = nullptr;
    QLabel* m_problem = nullptr;
    bool m_refusesChanges = false;
    QString m_chosen;
};
