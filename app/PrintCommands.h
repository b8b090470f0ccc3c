#pragma once

#include <QObject>
#include <memory>
#include <vector>

class AppSettings;
class CCorvaneDoc;
class CCorvaneForm;
struct EntryInfo;
class ClaimPrinter;
class FileCommands;
class Prompts;
class QtClaimPrinter;
class QWidget;

// Printing the claim, its preview, the page setup and "PDFとして保存": the
// claim is the list's (ClaimedLines with the list's filter). After a real
// print, and only then, the claim is recorded in the application history,
// its marks are cleared and, with 自動保存, it is saved.
class PrintCommands : public QObject
{
    Q_OBJECT

public:
    PrintCommands(CCorvaneDoc& doc, CCorvaneForm& form, AppSettings& settings, Prompts& prompts,
                  FileCommands& files, QWidget* window);
    ~PrintCommands() override;

    // Prints through the given printer (the system's by default).
    bool Print(ClaimPrinter* printer = nullptr);
    void Preview();
    void PageSetup();
    bool SavePdf();

private:
    QtClaimPrinter& SystemPrinter();
    // The lines the list would claim, with its latest edits.
    std::vector<const EntryInfo*> Claim();

    CCorvaneDoc& m_doc;
    CCorvaneForm& m_form;
    AppSettings& m_settings;
    Prompts& m_prompts;
    FileCommands& m_files;
    QWidget* m_window;
    std::unique_ptr<QtClaimPrinter> m_printer;
};
