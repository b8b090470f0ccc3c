#pragma once

#include "EntryInfo.h"

#include <QDate>
#include <QDialog>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class CEditEx;
class Prompts;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class RefusalNotice;
class TextLimit;

// Changes one expense line, or fills in a new manual line, on its own copy;
// the caller copies WorkingCopy() back on OK. A card line keeps what the card
// recorded: its date and fare (a fare the card did not hold may be typed in),
// and its station names unless the transaction lets them be named by hand. A line a recorded
// application claimed keeps what was claimed. Each text shows its length and limit while it is
// typed, and what does not fit is refused in words, never cut unseen. The line's claim mark stays
// as the user left it; only a fare set to or from 0 changes it.
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
    // The line was claimed on day by a recorded application: its date,
    // stations and fare are what was claimed and stay; the dialog says why.
    void SetClaimedOn(const QDate& day);
    static QString ClaimedNote(const QDate& day);
    // The tip of a fare the card did not hold, which the user may type in.
    static QString UnknownFareNote();
    // Beside a visit destination suggested from the station, until it is typed over.
    static QString SuggestionNote();
    // What the user is told when an input does not fit a field.
    static QString RefusedText(const QString& field, int limit, const QString& unit,
                               const QString& refused);

    // For tests and the keyboard: the controls by their role.
    QDateEdit* DateEdit() const { return m_date; }
    QLineEdit* NameEdit(int index) const { return m_names[index]; } // entry 0-2, exit 3-5
    CEditEx* FareEdit() const { return m_fare; }
    QComboBox* VisitCombo() const { return m_visit; }
    QLineEdit* RemarksEdit() const { return m_remarks; }
    QPushButton* CopyButton() const { return m_copy; }
    QLabel* ReportLink() const { return m_report; }
    QLabel* DistanceText() const { return m_distance; }
    // The counter beside an edit ("12/30"), and the message of a refused input.
    QLabel* CounterOf(const QLineEdit* edit) const;
    RefusalNotice* Notice() const { return m_notice; }
    QLabel* ClaimedText() const { return m_claimed; }
    QLabel* SuggestionText() const { return m_suggestion; }

    void accept() override;
    void CorrectStations();

private:
    void BuildControls();
    void FillControls();
    void ApplyCardRestrictions();
    void FocusFirstField();
    void CopyFromTemplate();
    QLineEdit* AddLimit(QLineEdit* edit, int limit, const QString& field, const QString& unit,
                        bool counter);
    QWidget* WithCounter(QWidget* field, const QLineEdit* edit);
    void ShowSuggestion(bool suggested);

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
    RefusalNotice* m_notice = nullptr;
    QLabel* m_claimed = nullptr;
    QLabel* m_suggestion = nullptr;
    std::vector<TextLimit*> m_limits;
};
