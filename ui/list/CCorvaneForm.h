#pragma once

#include "EntryInfo.h"
#include "ListEditCommand.h"

#include <QWidget>
#include <array>
#include <functional>
#include <optional>

class AppSettings;
class CCorvaneDoc;
class CListCtrlEx;
class EntryTableModel;
class Prompts;
class QCheckBox;
class QLabel;
class QMenu;
class QToolButton;
class QUndoStack;

// The main window's form: the claim's lines in a list, the claim marks and
// their total, the card button and "全て表示". The rows are the user's
// working order; the document's lines follow them at each rebuild.
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
    };
    using LineEditor = std::function<std::optional<EntryInfo>(const EditRequest&)>;

    CCorvaneForm(CCorvaneDoc& doc, AppSettings& settings, Prompts& prompts,
                 QWidget* parent = nullptr);
    ~CCorvaneForm() override;

    void SetLineEditor(LineEditor editor) { m_editLine = std::move(editor); }
    void SetContextMenu(QMenu* menu) { m_contextMenu = menu; }

    // The document's update hints: refill, rebuild, clear.
    void OnHint(int hint);
    int FillList();
    void UpdateTotal();
    bool MoveSelectedUp();
    bool MoveSelectedDown();
    bool EditSelected();
    bool AddLine();
    bool DeleteSelected();
    void RebuildDocumentLines();
    // undoable false: after a print, whose marks are not the user's edit.
    void SetAllChecks(bool checked, bool undoable = true);
    void SortByDate();
    void DropRows(const std::vector<int>& dragged, int dropRow);
    // Takes the column widths back into ListControlWidth.
    void SaveColumnWidths();

    // Undo and redo of every list edit. The claim is unmodified exactly when
    // the history stands where the claim was last saved, opened or made.
    QUndoStack& UndoStack() const { return *m_undo; }
    void MarkSaved();
    // For the undo commands: the rows and marks, and lines leaving or
    // joining the claim.
    ListEditCommand::State Take() const;
    void Restore(const ListEditCommand::State& state);
    std::vector<std::unique_ptr<EntryInfo>> DetachLines(const std::vector<EntryInfo*>& lines);
    void AttachLines(std::vector<std::unique_ptr<EntryInfo>> lines);

    void SetGrid(bool grid);
    void SetZebra(bool zebra);

    int RowCount() const;
    int CheckedCount() const { return m_checkedCount; }
    bool ShowAll() const;
    std::vector<int> SelectedRows() const;
    void SelectRows(const std::vector<int>& rows);
    EntryTableModel& Model() const { return *m_model; }
    CListCtrlEx& List() const { return *m_list; }
    QCheckBox& ShowAllBox() const { return *m_showAll; }
    QLabel& TotalText() const { return *m_total; }
    QToolButton& CardButton() const { return *m_cardButton; }

    // "50,,90" -> 50, 90 and the defaults; consecutive commas count as one.
    static std::array<int, 12> ParseColumnWidths(const QString& text);
    static QString TotalTextFor(std::int64_t total);

Q_SIGNALS:
    void ReadCardRequested();
    // Rows, marks or selection changed: the commands may enable differently.
    void StateChanged();
    // The card panes are to be emptied (a cleared document).
    void CardStatusCleared();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void ApplyColumnWidths();
    void OnCheckChanged(int row);
    void OnHeaderClicked(int section);
    void ApplyMove(const std::vector<int>& order, const std::vector<int>& selected);
    std::optional<EntryInfo> RunEditor(const EditRequest& request);
    void Clear();
    void Push(const QString& text, ListEditCommand::State before,
              std::unique_ptr<ListEditCommand>* command = nullptr);

    CCorvaneDoc& m_doc;
    AppSettings& m_settings;
    Prompts& m_prompts;
    LineEditor m_editLine;
    QMenu* m_contextMenu = nullptr;

    EntryTableModel* m_model = nullptr;
    CListCtrlEx* m_list = nullptr;
    QToolButton* m_cardButton = nullptr;
    QCheckBox* m_showAll = nullptr;
    QLabel* m_totalCaption = nullptr;
    QLabel* m_total = nullptr;

    std::array<bool, 12> m_columnToggle;
    bool m_filling = false;
    bool m_batch = false; // one undo step for many marks
    QUndoStack* m_undo = nullptr;
    int m_checkedCount = 0;
};
