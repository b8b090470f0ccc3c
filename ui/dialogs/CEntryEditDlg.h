#pragma once

#include "EntryInfo.h"

#include <QDialog>
#include <QStringList>
#include <functional>
#include <optional>

class CEditEx;
class Prompts;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

// Changes one expense line, or fills in a new manual line, on its own copy;
// the caller copies WorkingCopy() back on OK. A card line keeps what the card
// recorded: its date and fare, and its station names unless the transaction
// lets them be named by hand.
class CEntryEditDlg : public QDialog
{
    Q_OBJECT

public:
    // Opens 駅名の訂正 for the line; the line with its names afterwards.
    using StationCorrector = std::function<std::optional<EntryInfo>(const EntryInfo&)>;

    CEntryEditDlg(const EntryInfo& source, const QStringList& visitHistory,
                  const QString& routeTemplate, const EntryInfo* templateLine, bool manualLine,
                  Prompts& prompts, QWidget* parent = nullptr);

    const EntryInfo& WorkingCopy() const { return m_workingCopy; }
    // What the link "未登録情報もしくは誤りの報告" opens.
    void SetStationCorrector(StationCorrector corrector) { m_correct = std::move(corrector); }

    // For tests and the keyboard: the controls by their role.
    QDateEdit* DateEdit() const { return m_date; }
    QLineEdit* NameEdit(int index) const { return m_names[index]; } // entry 0-2, exit 3-5
    CEditEx* FareEdit() const { return m_fare; }
    QComboBox* VisitCombo() const { return m_visit; }
    QLineEdit* RemarksEdit() const { return m_remarks; }
    QPushButton* CopyButton() const { return m_copy; }
    QLabel* ReportLink() const { return m_report; }
    QLabel* DistanceText() const { return m_distance; }

    void accept() override;
    void CorrectStations();

private:
    void BuildControls();
    void FillControls();
    void ApplyCardRestrictions();
    void FocusFirstField();
    void CopyFromTemplate();

    EntryInfo m_workingCopy;
    QStringList m_visitHistory;
    QString m_routeTemplate;
    const EntryInfo* m_templateLine;
    bool m_manualLine;
    Prompts& m_prompts;
    QString m_terminalText;
    QString m_processText;
    StationCorrector m_correct;

    QPushButton* m_copy = nullptr;
    QDateEdit* m_date = nullptr;
    QLabel* m_terminal = nullptr;
    QLabel* m_process = nullptr;
    QLabel* m_balance = nullptr;
    QLineEdit* m_names[6] = {};
    CEditEx* m_fare = nullptr;
    QComboBox* m_visit = nullptr;
    QLineEdit* m_remarks = nullptr;
    QLabel* m_distanceCaption = nullptr;
    QLabel* m_distance = nullptr;
    QLabel* m_bearingCaption = nullptr;
    QLabel* m_bearing = nullptr;
    QLabel* m_report = nullptr;
};
