#pragma once

#include "ApplicationArchive.h"
#include "ApplicationSearch.h"
#include "AppliedLines.h"

#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

class Prompts;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// "申請履歴": the recorded applications, newest first, with their number,
// print time, usage period, amount, number of lines, whether they were taken
// back (取消 with the day and reason) or their print is still held (保留),
// and what verification says of their snapshot. A search row narrows the
// list by print date, amount and text, and says how many match and their
// total. 開く closes it with the chosen snapshot, which the caller opens as
// the record it is; 取消... takes the chosen application back for a reason
// the user gives; 書き出し... writes the listed applications for an archive.
// A damaged history is said above the list, and 修復... makes it whole after
// asking.
class CApplyHistoryDlg : public QDialog
{
    Q_OBJECT

public:
    // What the dialog asks of the application history.
    struct History {
        std::function<std::vector<AppliedLines::Application>()> list;
        // Takes the application back for reason; false with the reason it
        // could not, true with what the user must know besides (or nothing).
        std::function<bool(const AppliedLines::Application&, const QString& reason,
                           QString* message)>
            cancel;
        // Whether the application's print is still held in a queue.
        std::function<bool(const AppliedLines::Application&)> held;
        // Why the history takes no change now; empty when it does.
        std::function<QString()> problem;
        // Whether the history is damaged, and repair makes it whole.
        std::function<bool()> damaged;
        std::function<bool(QString* report)> repair;
        // The folder to write to (empty: none chosen), and the writing.
        std::function<QString()> chooseFolder;
        std::function<ApplicationArchive::Report(const std::vector<AppliedLines::Application>&,
                                                 const QString& folder)>
            exportTo;
    };
    // Asks why the application is taken back; nothing when the user does
    // not go on. The reason dialog by default.
    using ReasonAsker = std::function<std::optional<QString>(const QString& description)>;

    CApplyHistoryDlg(History history, Prompts& prompts, QWidget* parent = nullptr);

    void SetReasonAsker(ReasonAsker asker) { m_askReason = std::move(asker); }

    QString SelectedPath() const { return m_chosen; }
    QTableWidget& Table() const { return *m_table; }
    QPushButton& OpenButton() const { return *m_open; }
    QPushButton& CancelButton() const { return *m_cancel; }
    QPushButton& ExportButton() const { return *m_export; }
    QPushButton& RepairButton() const { return *m_repair; }
    QLabel& ProblemLabel() const { return *m_problem; }
    QLabel& SummaryLabel() const { return *m_summary; }
    // The search row.
    QCheckBox& ByDate() const { return *m_byDate; }
    QDateEdit& FromDate() const { return *m_fromDate; }
    QDateEdit& ToDate() const { return *m_toDate; }
    QLineEdit& MinAmount() const { return *m_minAmount; }
    QLineEdit& MaxAmount() const { return *m_maxAmount; }
    QLineEdit& SearchText() const { return *m_text; }

    enum Column { Number, Printed, Period, Amount, Lines, State, Verified, ColumnCount };

private:
    QLayout* MakeSearchRow();
    ApplicationSearch Search() const;
    void Reload();
    void Fill();
    void UpdateButtons();
    void OpenSelected();
    void CancelSelected();
    void ExportListed();
    void RepairHistory();
    const AppliedLines::Application* Selected() const;

    History m_history;
    Prompts& m_prompts;
    ReasonAsker m_askReason;
    std::vector<AppliedLines::Application> m_all;
    std::vector<AppliedLines::Application> m_applications; // those listed
    QTableWidget* m_table = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_repair = nullptr;
    QLabel* m_problem = nullptr;
    QLabel* m_summary = nullptr;
    QCheckBox* m_byDate = nullptr;
    QDateEdit* m_fromDate = nullptr;
    QDateEdit* m_toDate = nullptr;
    QLineEdit* m_minAmount = nullptr;
    QLineEdit* m_maxAmount = nullptr;
    QLineEdit* m_text = nullptr;
    bool m_refusesChanges = false;
    QString m_chosen;
};
