#pragma once

#include "EntryInfo.h"

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
    void SetAllChecks(bool checked);
    void SortByDate();
    void DropRows(const std::vector<int>& dragged, int dropRow);
    // Takes the column widths back into ListControlWidth.
    void SaveColumnWidths();

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
    void OnDoubleClicked(const QModelIndex& index);
    void ApplyMove(const std::vector<int>& order, const std::vector<int>& selected);
    std::optional<EntryInfo> RunEditor(const EditRequest& request);
    void Clear();
    void Touch();

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
    int m_checkedCount = 0;
};
