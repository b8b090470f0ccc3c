#pragma once

#include "EntryInfo.h"

#include <QObject>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class AppSettings;
class CCorvaneDoc;
class CCorvaneForm;
class ClaimPrinter;
class FileCommands;
class Prompts;
class QtClaimPrinter;
class QWidget;

// Printing the claim, its preview, the page setup and "PDFとして保存". The
// claim is what the list shows marked (the core's rule with the list's
// filter), headed by the list's period. Some pages of it chosen in the print
// dialog print as the claim of their lines. A print the print service
// accepted is recorded by the core's after-print steps, fed exactly the
// printed lines; anything else (a cancelled dialog, a refused job, output to
// a file, a copy of a recorded application) records nothing.
class PrintCommands : public QObject
{
    Q_OBJECT

public:
    PrintCommands(CCorvaneDoc& doc, CCorvaneForm& form, AppSettings& settings, Prompts& prompts,
                  FileCommands& files, QWidget* window);
    ~PrintCommands() override;

    // Prints through the given printer (the system's by default); true when
    // the claim was printed and recorded.
    bool Print(ClaimPrinter* printer = nullptr);
    // The preview; its 印刷... button prints as Print does, through printer.
    void Preview(ClaimPrinter* printer = nullptr);
    void PageSetup();
    bool SavePdf();

    // The lines a print would take now.
    std::vector<const EntryInfo*> Claim() const;
    // The claimant's department, number and name from the settings.
    std::array<QString, 3> Claimant() const;
    // Opens 申請者情報; true when the user pressed OK.
    void SetClaimantEditor(std::function<bool()> editor) { m_editClaimant = std::move(editor); }
    // Asked before a print whose claimant is not filled in whole.
    static QString MissingClaimantQuestion(const QStringList& missing);

Q_SIGNALS:
    // A short report for the status bar.
    void Status(const QString& text);

private:
    QtClaimPrinter& SystemPrinter();
    // A claim holding trips already claimed prints only on the user's yes.
    bool ConfirmClaimedAgain(const std::vector<const EntryInfo*>& claimed);
    // Unconfirmed visit suggestions print empty unless the user confirms them.
    bool ConfirmSuggestions(const std::vector<const EntryInfo*>& claimed, const QString& action);
    // A claimant not filled in: filled in first, or printed as is (asked
    // once a run), or nothing printed.
    bool ConfirmClaimant();

    CCorvaneDoc& m_doc;
    CCorvaneForm& m_form;
    AppSettings& m_settings;
    Prompts& m_prompts;
    FileCommands& m_files;
    QWidget* m_window;
    std::unique_ptr<QtClaimPrinter> m_printer;
    std::function<bool()> m_editClaimant;
    bool m_printWithoutClaimant = false;
};
