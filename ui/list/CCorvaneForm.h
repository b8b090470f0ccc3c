#pragma once

#include "ClaimRules.h"
#include "EntryInfo.h"
#include "PeriodChooser.h"

#include <QDate>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class AppSettings;
class CCorvaneDoc;
class ClaimTotal;
class CListCtrlEx;
class EntryTableModel;
class ListColumns;
class ListedLinesModel;
class Prompts;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QMenu;
class QToolButton;
class StationCorrector;

// The main window's form: a view of the claim's lines (the document's, in
// its order) with their claim marks and total, the card button and
// "全て表示". It changes nothing itself: every edit is asked of the document,
// which makes it an undoable command.
class CCorvaneForm : public QWidget
{
    Q_OBJECT

public:
    // Edits a line in the entry dialog; the result on OK, nothing on cancel.
    struct EditRequest {
        const EntryInfo& line;
        const EntryInfo* templateLine;
        bool manualLine;
        QString routeTemplate;
        // The day a recorded application claimed the line: what it claimed stays.
        std::optional<QDate> claimedOn;
    };
    using LineEditor = std::function<std::optional<EntryInfo>(const EditRequest&)>;

    CCorvaneForm(CCorvaneDoc& doc, AppSettings& settings, Prompts& prompts,
                 QWidget* parent = nullptr);
    ~CCorvaneForm() override;

    void SetLineEditor(LineEditor editor) { m_editLine = std::move(editor); }
    void SetContextMenu(QMenu* menu) { m_contextMenu = menu; }

    bool MoveSelectedUp();
    bool MoveSelectedDown();
    bool EditSelected();
    bool AddLine();
    bool DeleteSelected();
    // 駅名を訂正...: the stations of the selected line, in 駅名の訂正.
    bool CorrectSelected();
    // Whether the selected line names a station that may be corrected.
    bool CanCorrectSelected() const;
    StationCorrector& Corrector() const { return *m_corrector; }
    // The suggested visit destinations of the selected lines become the
    // user's own; false when none holds one.
    bool ConfirmSelectedVisits();
    // How many selected lines hold a suggested visit destination.
    int SelectedSuggestions() const;
    // The header's rule: with several rows selected those get the mark and
    // the other listed rows lose it; otherwise every listed row gets it.
    void SetAllChecks(bool checked);
    // Space: the highlighted lines' marks flip, whichever cell is current; the
    // current line's mark decides which way. A line that may not be claimed
    // keeps its mark, and the status says why.
    void ToggleCurrentMark();
    void SortByDate();
    void DropRows(const std::vector<int>& dragged, int dropRow);
    // Takes the column widths back into ListControlWidth.
    void SaveColumnWidths();
    // The user named a card, or cards became one: the カード column follows.
    void CardNamesChanged();
    // The カード column's text for a line read under this ID.
    QString CardLabel(const CardId& idm) const;
    // Keyboard focus in the list, on a current line.
    void FocusList();

    void SetGrid(bool grid);
    void SetZebra(bool zebra);

    // The period the list shows, as the period box offers them.
    using Period = PeriodChooser::Period;
    void SetPeriod(Period period, const QDate& from = {}, const QDate& to = {});
    // What "今月" means; today by default.
    void SetToday(std::function<QDate()> today);

    // What the list shows, and so what a print, preview, PDF or CSV takes.
    ClaimFilter Filter() const;
    int RowCount() const;
    // The width the list needs to show every column.
    int ListWidth() const;
    // The claim in the list: marked listed lines and the sum of their fares.
    int CheckedCount() const;
    std::int64_t CheckedTotal() const;
    bool ShowAll() const;
    std::vector<int> SelectedRows() const;
    void SelectRows(const std::vector<int>& rows);
    const EntryInfo* LineAt(int row) const;
    EntryTableModel& Model() const { return *m_model; }
    ListedLinesModel& Listed() const { return *m_listed; }
    CListCtrlEx& List() const { return *m_list; }
    QCheckBox& ShowAllBox() const { return *m_showAll; }
    QComboBox& PeriodBox() const;
    // The dates of 期間指定 (made when first needed).
    QDateEdit& FromEdit();
    QDateEdit& ToEdit();
    QLabel& TotalText() const;
    QToolButton& CardButton() const { return *m_cardButton; }

    // Before a claimed line is marked again: the user's yes.
    bool ConfirmReclaim(const QDate& day);

Q_SIGNALS:
    void ReadCardRequested();
    // Rows, marks or selection changed: the commands may enable differently.
    void StateChanged();
    // A short word for the status bar: why a key did nothing, what happened.
    void Status(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void ApplyFilter();
    void OnReset();
    void OnHeaderClicked(int section);
    // The claim or its total changed: what depends on them follows.
    void ShowTotal();
    // The カード column only when the claim holds lines of several cards.
    void ShowCardColumn();
    void ShowPlaceholder();
    bool HandleKey(const QKeyEvent& key);
    bool Reorder(const std::vector<int>& order, const QString& text);
    void SelectLines(const std::vector<const EntryInfo*>& lines);
    std::vector<const EntryInfo*> LinesOfRows(const std::vector<int>& rows) const;
    std::optional<EntryInfo> RunEditor(const EditRequest& request);

    CCorvaneDoc& m_doc;
    AppSettings& m_settings;
    Prompts& m_prompts;
    LineEditor m_editLine;
    std::unique_ptr<StationCorrector> m_corrector;
    QMenu* m_contextMenu = nullptr;

    EntryTableModel* m_model = nullptr;
    ListedLinesModel* m_listed = nullptr;
    CListCtrlEx* m_list = nullptr;
    QToolButton* m_cardButton = nullptr;
    QCheckBox* m_showAll = nullptr;
    PeriodChooser* m_period = nullptr;
    ClaimTotal* m_total = nullptr;
    ListColumns* m_columns = nullptr;

    std::array<bool, 12> m_columnToggle;
    // The last change of "全て表示" came from the mouse.
    bool m_showAllClicked = false;
};
