#include "PrintCommands.h"

#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "CCorvaneForm.h"
#include "ClaimRules.h"
#include "FileCommands.h"
#include "Folders.h"
#include "PdfExport.h"
#include "PrintJob.h"
#include "Prompts.h"
#include "QtClaimPrinter.h"
#include "TextFormat.h"

#include <QDateTime>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPrintPreviewDialog>

namespace
{
// The list has no input for the claimant's details: the form prints them empty.
const std::array<QString, 3> kNoClaimant = {};
} // namespace

PrintCommands::PrintCommands(CCorvaneDoc& doc, CCorvaneForm& form, AppSettings& settings,
                             Prompts& prompts, FileCommands& files, QWidget* window)
    : QObject(window), m_doc(doc), m_form(form), m_settings(settings), m_prompts(prompts),
      m_files(files), m_window(window)
{
}

QtClaimPrinter& PrintCommands::SystemPrinter()
{
    // Made on first use: a QPrinter loads the print service's plugin.
    if (!m_printer)
        m_printer = std::make_unique<QtClaimPrinter>(m_window);
    return *m_printer;
}

PrintCommands::~PrintCommands() = default;

std::vector<const EntryInfo*> PrintCommands::Claim()
{
    m_doc.CollectViewEdits();
    return ClaimedLines(m_doc.Data().lines, m_form.ShowAll());
}

bool PrintCommands::Print(ClaimPrinter* printer)
{
    if (!printer)
        printer = &SystemPrinter();
    const auto claimed = Claim();
    PrintJob job(m_doc.Layout());
    const int pages = job.Prepare(claimed, kNoClaimant, QDateTime::currentDateTime());
    if (!printer->Choose(m_doc.Layout(), pages))
        return false;
    QString error;
    if (!printer->Print(job, &error)) {
        m_prompts.Ask(error, Prompts::Icon::Stop, Prompts::Buttons::Ok);
        return false;
    }
    // A claim that cannot be recorded keeps its marks, unsaved.
    if (!m_doc.RecordApplication(job.Total()))
        return false;
    m_form.SetAllChecks(false, false);
    m_doc.SetModified(true);
    if (m_settings.AutoSave != 0)
        m_files.Save();
    return true;
}

void PrintCommands::Preview()
{
    const auto claimed = Claim();
    PrintJob job(m_doc.Layout());
    const int pages = job.Prepare(claimed, kNoClaimant, QDateTime::currentDateTime());
    QPrinter& printer = SystemPrinter().Printer();
    printer.setPageLayout(m_doc.Layout().PageLayout());
    QPrintPreviewDialog preview(&printer, m_window);
    preview.setWindowTitle(QStringLiteral("印刷プレビュー"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [&job, pages](QPrinter* p) { QtClaimPrinter::PaintPages(job, *p, 1, pages); });
    preview.resize(900, 700);
    preview.exec(); // a preview records nothing and keeps the marks
}

void PrintCommands::PageSetup()
{
    QPageSetupDialog dialog(&SystemPrinter().Printer(), m_window);
    dialog.exec();
}

bool PrintCommands::SavePdf()
{
    const QString path = m_prompts.SaveFileName(
        QStringLiteral("PDFとして保存"),
        JoinPath(m_settings.EntryPath,
                 MakeTimestampName(QStringLiteral("Entry"), QStringLiteral(".pdf"))),
        QStringLiteral("PDFファイル (*.pdf)"), QStringLiteral("pdf"));
    if (path.isEmpty())
        return false;
    QString error;
    if (!RenderClaimToPdf(m_doc.Layout(), Claim(), kNoClaimant, QDateTime::currentDateTime(), path,
                          nullptr, &error)) {
        m_prompts.Ask(error, Prompts::Icon::Stop, Prompts::Buttons::Ok);
        return false;
    }
    return true;
}
