#include "PrintCommands.h"

#include "AppSettings.h"
#include "CCorvaneDoc.h"
#include "CCorvaneForm.h"
#include "ClaimPreviewDlg.h"
#include "ClaimRules.h"
#include "FileCommands.h"
#include "Folders.h"
#include "PdfExport.h"
#include "PrintJob.h"
#include "PrintedClaim.h"
#include "Prompts.h"
#include "QtClaimPrinter.h"
#include "SuggestionPrompt.h"
#include "TextFormat.h"

#include <QDateTime>
#include <QPageSetupDialog>
#include <algorithm>

PrintCommands::PrintCommands(CCorvaneDoc& doc, CCorvaneForm& form, AppSettings& settings,
                             Prompts& prompts, FileCommands& files, QWidget* window)
    : QObject(window), m_doc(doc), m_form(form), m_settings(settings), m_prompts(prompts),
      m_files(files), m_window(window)
{
}

PrintCommands::~PrintCommands() = default;

QtClaimPrinter& PrintCommands::SystemPrinter()
{
    // Made on first use: a QPrinter loads the print service's plugin.
    if (!m_printer)
        m_printer = std::make_unique<QtClaimPrinter>(m_window);
    return *m_printer;
}

std::vector<const EntryInfo*> PrintCommands::Claim() const
{
    return ClaimedLines(m_doc.Lines(), m_form.Filter());
}

std::array<QString, 3> PrintCommands::Claimant() const
{
    return {m_settings.PostName, m_settings.IdNumber, m_settings.Name};
}

bool PrintCommands::Print(ClaimPrinter* printer)
{
    if (!printer)
        printer = &SystemPrinter();
    const auto claimed = Claim();
    if (claimed.empty())
        return false;
    // A recorded application prints as a copy of the record: it is not
    // claimed again. Any other claim holding a claimed trip asks first.
    const bool copyOfRecord = m_doc.IsRecordedApplication();
    // Nothing is printed as a claim that could not be recorded.
    if (const QString why = copyOfRecord ? QString() : m_doc.WhyNotRecordable(); !why.isEmpty()) {
        m_prompts.Ask(why, Prompts::Icon::Stop, Prompts::Buttons::Ok);
        return false;
    }
    if (!copyOfRecord && !ConfirmClaimedAgain(claimed))
        return false;
    if (!ConfirmSuggestions(claimed, QStringLiteral("印刷")))
        return false;
    if (!copyOfRecord && !ConfirmClaimant())
        return false;
    const QDateTime now = QDateTime::currentDateTime();
    PrintJob whole(m_doc.Layout());
    const int pages = whole.Prepare(Claim(), Claimant(), now, m_form.Filter());
    const auto chosen = printer->Choose(m_doc.Layout(), pages);
    if (!chosen)
        return false;
    // Some pages only are a claim of their lines: numbered, summed and
    // recorded as such, so the form's total is the total recorded.
    PrintJob job(m_doc.Layout());
    job.Prepare(whole.LinesOnPages(chosen->first, chosen->last), Claimant(), now, m_form.Filter());
    // The paper of a claim to be recorded carries the number it will have.
    ApplyRecord stamp;
    if (!copyOfRecord && !chosen->toFile) {
        stamp.id = m_doc.History().NextId();
        stamp.printed = now.toSecsSinceEpoch();
        stamp.paper = {Claimant(), m_form.Filter().from, m_form.Filter().until};
        job.SetApplicationNumber(stamp.id);
    }
    const ClaimPrinter::Outcome outcome = printer->Print(job);
    switch (outcome.kind) {
    case ClaimPrinter::Outcome::Kind::Failed:
        m_prompts.Ask(outcome.error, Prompts::Icon::Stop, Prompts::Buttons::Ok);
        return false;
    case ClaimPrinter::Outcome::Kind::SavedToFile:
        Q_EMIT Status(QStringLiteral("PDFファイル %1 に保存しました（申請は記録していません）")
                          .arg(outcome.file));
        return false;
    case ClaimPrinter::Outcome::Kind::Printed:
        break;
    }
    if (copyOfRecord) {
        Q_EMIT Status(QStringLiteral("申請の記録を印刷しました（申請は追加していません）"));
        return false;
    }
    const std::function<bool()> save =
        m_settings.AutoSave != 0 ? std::function<bool()>([this] { return m_files.Save(); })
                                 : std::function<bool()>();
    stamp.printJob = outcome.job;
    const PrintedClaim recorded = RecordPrintedClaim(m_doc, job.Lines(), save, stamp);
    if (!recorded.recorded) {
        m_prompts.Ask(recorded.NotRecordedText(), Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
        return false;
    }
    if (outcome.held.isEmpty()) {
        Q_EMIT Status(recorded.StatusText());
        return true;
    }
    // Recorded, as the queue took the job; the user decides whether it
    // stays a claim if the paper never comes out.
    const QString held = QStringLiteral("印刷は保留されています: %1").arg(outcome.held);
    Q_EMIT Status(recorded.StatusText() + QStringLiteral("　") + held);
    m_prompts.Ask(recorded.StatusText() + QStringLiteral("\n\n") + held +
                      QStringLiteral("。\n\n印刷しないときは、表示 → 申請履歴... の 取消... で"
                                     "この申請を取り消してください。"),
                  Prompts::Icon::Information, Prompts::Buttons::Ok);
    return true;
}

bool PrintCommands::ConfirmClaimedAgain(const std::vector<const EntryInfo*>& claimed)
{
    m_doc.RefreshHistory();
    const auto again = std::count_if(claimed.begin(), claimed.end(), [this](const EntryInfo* line) {
        return m_doc.AppliedOn(*line).has_value();
    });
    if (again == 0)
        return true;
    return m_prompts.Ask(
               QStringLiteral(
                   "申請済みの明細が %1 件含まれています。印刷して、もう一度申請しますか？")
                   .arg(again),
               Prompts::Icon::Question, Prompts::Buttons::YesNo) == Prompts::Answer::Yes;
}

QString PrintCommands::MissingClaimantQuestion(const QStringList& missing)
{
    return QStringLiteral("申請者情報の%1が入力されていません。\n"
                          "申請者情報を入力してから印刷しますか？\n\n"
                          "「いいえ」でそのまま印刷します。")
        .arg(missing.join(QStringLiteral("・")));
}

bool PrintCommands::ConfirmClaimant()
{
    QStringList missing;
    const char16_t* fields[] = {u"所属", u"社員番号", u"氏名"};
    const auto claimant = Claimant();
    for (std::size_t i = 0; i < claimant.size(); ++i)
        if (claimant[i].trimmed().isEmpty())
            missing << QString::fromUtf16(fields[i]);
    if (missing.isEmpty() || m_printWithoutClaimant)
        return true;
    switch (m_prompts.Ask(MissingClaimantQuestion(missing), Prompts::Icon::Question,
                          Prompts::Buttons::YesNoCancel)) {
    case Prompts::Answer::Yes:
        return m_editClaimant && m_editClaimant();
    case Prompts::Answer::No:
        m_printWithoutClaimant = true;
        return true;
    default:
        return false;
    }
}

bool PrintCommands::ConfirmSuggestions(const std::vector<const EntryInfo*>& claimed,
                                       const QString& action)
{
    std::vector<const EntryInfo*> suggested;
    std::copy_if(claimed.begin(), claimed.end(), std::back_inserter(suggested),
                 [](const EntryInfo* line) { return line->visitSuggested; });
    return SuggestionPrompt::Confirm(m_doc, m_prompts, suggested, action);
}

void PrintCommands::Preview(ClaimPrinter* printer)
{
    const auto claimed = Claim();
    PrintJob job(m_doc.Layout());
    job.Prepare(claimed, Claimant(), QDateTime::currentDateTime(), m_form.Filter());
    QPrinter& device = SystemPrinter().Printer();
    device.setPageLayout(m_doc.Layout().PageLayout());
    ClaimPreviewDlg preview(job, device, m_window);
    preview.resize(900, 700);
    // A preview records nothing; its print button is the print command.
    if (preview.exec() == ClaimPreviewDlg::PrintRequested)
        Print(printer);
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
    if (path.isEmpty() || !ConfirmSuggestions(Claim(), QStringLiteral("保存")))
        return false;
    QString error;
    if (!RenderClaimToPdf(m_doc.Layout(), Claim(), Claimant(), QDateTime::currentDateTime(),
                          m_form.Filter(), path, nullptr, &error)) {
        m_prompts.Ask(error, Prompts::Icon::Stop, Prompts::Buttons::Ok);
        return false;
    }
    Q_EMIT Status(
        QStringLiteral("PDFファイル %1 に保存しました（申請は記録していません）").arg(path));
    return true;
}
