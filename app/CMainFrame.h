#pragma once

#include <QMainWindow>
#include <memory>

class AppSettings;
class CCorvaneDoc;
class CCorvaneForm;
class CommandTable;
class CsvCommand;
class PrintCommands;
class FileCommands;
class Prompts;
class RecentFiles;
class StatusPanes;
struct ReaderEnvironment;

// The main window: lays out the menus, the two toolbars, the list form and
// the status bar, and wires the commands to their owners. It keeps no rule
// of its own beyond that.
class CMainFrame : public QMainWindow
{
    Q_OBJECT

public:
    CMainFrame(AppSettings& settings, CCorvaneDoc& doc, Prompts& prompts, ReaderEnvironment& reader,
               QWidget* parent = nullptr);
    ~CMainFrame() override;

    CCorvaneForm& Form() const { return *m_form; }
    CommandTable& Commands() const { return *m_commands; }
    FileCommands& Files() const { return *m_files; }
    StatusPanes& Panes() const { return *m_panes; }
    RecentFiles& Recent() const { return *m_recent; }
    PrintCommands& Printing() const { return *m_printing; }
    CsvCommand& Csv() const { return *m_csv; }

    // The card read command: the lines read join the claim as one undoable step.
    bool ReadCard();
    void RestoreLayout();
    // A later start of the program handed over a file (empty: none): the
    // window comes to the front and opens it, asking first about unsaved
    // changes; while a dialog is open it waits for the dialog to close.
    void TakeHandedOver(const QString& file);
    // Every list column in sight at first; never larger than the screen.
    QSize DefaultSize() const;
    void FitOnScreen();
    static QString WindowTitle();
    // Said after a read that brought no record the claim lacked.
    static QString NothingNewText() { return QStringLiteral("新しい利用履歴はありません"); }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildToolBars();
    void BuildStatusBar();
    void Wire();
    void UpdateCommands();
    void ShowDocument();
    void ShowApplications();
    void ShowManual();
    bool EditClaimant();
    void NameCards();
    void SaveLayout() const;
    // No narrower than the status bar needs to show every pane whole.
    void KeepStatusBarWhole();

    AppSettings& m_settings;
    CCorvaneDoc& m_doc;
    Prompts& m_prompts;
    ReaderEnvironment& m_reader;
    CommandTable* m_commands = nullptr;
    CCorvaneForm* m_form = nullptr;
    StatusPanes* m_panes = nullptr;
    RecentFiles* m_recent = nullptr;
    FileCommands* m_files = nullptr;
    PrintCommands* m_printing = nullptr;
    std::unique_ptr<CsvCommand> m_csv;
};
