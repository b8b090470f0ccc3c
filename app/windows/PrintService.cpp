#include "PrintService.h"

#include "PrintJob.h"
#include "QPainterCanvas.h"
#include "SpoolerHold.h"

#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>
#include <windows.h>
#include <winspool.h>

// The job goes to the spooler as GDI pages on a printer device context: the
// job id StartDoc gives is the spooler's word that it took the job. Each
// page is drawn by the same canvas as the preview and the PDF, in bands of
// the printer's own resolution, so no page needs a whole-page bitmap.
namespace
{
constexpr int kBandRows = 256;

QString SystemMessage(DWORD code)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString message = length ? QString::fromWCharArray(text, length).trimmed()
                             : QStringLiteral("エラー %1").arg(code);
    LocalFree(text);
    return message;
}

struct PrinterHandle {
    HANDLE handle = nullptr;
    ~PrinterHandle()
    {
        if (handle)
            ClosePrinter(handle);
    }
};

// The printer's own settings with what the print dialog chose: paper,
// orientation, copies, sides, colour.
std::vector<char> DevMode(HANDLE printer, const std::wstring& name, const QPrinter& chosen)
{
    wchar_t* device = const_cast<wchar_t*>(name.c_str());
    const LONG size = DocumentPropertiesW(nullptr, printer, device, nullptr, nullptr, 0);
    if (size <= 0)
        return {};
    std::vector<char> buffer(static_cast<std::size_t>(size));
    auto* mode = reinterpret_cast<DEVMODEW*>(buffer.data());
    if (DocumentPropertiesW(nullptr, printer, device, mode, nullptr, DM_OUT_BUFFER) != IDOK)
        return {};
    const QPageLayout layout = chosen.pageLayout();
    mode->dmFields |= DM_ORIENTATION | DM_COPIES | DM_COLLATE | DM_DUPLEX | DM_COLOR;
    mode->dmOrientation =
        layout.orientation() == QPageLayout::Landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    if (const int paper = layout.pageSize().windowsId()) {
        mode->dmFields |= DM_PAPERSIZE;
        mode->dmPaperSize = static_cast<short>(paper);
    }
    mode->dmCopies = static_cast<short>(std::max(1, chosen.copyCount()));
    mode->dmCollate = chosen.collateCopies() ? DMCOLLATE_TRUE : DMCOLLATE_FALSE;
    mode->dmDuplex = chosen.duplex() == QPrinter::DuplexLongSide    ? DMDUP_VERTICAL
                     : chosen.duplex() == QPrinter::DuplexShortSide ? DMDUP_HORIZONTAL
                                                                    : DMDUP_SIMPLEX;
    mode->dmColor = chosen.colorMode() == QPrinter::GrayScale ? DMCOLOR_MONOCHROME : DMCOLOR_COLOR;
    if (DocumentPropertiesW(nullptr, printer, device, mode, mode, DM_IN_BUFFER | DM_OUT_BUFFER) !=
        IDOK)
        return {};
    return buffer;
}

// One page, drawn band by band from the paper's corner (the layout has no
// margins; the printer's unprintable edge is left out).
bool DrawPage(HDC dc, const PrintJob& job, int page)
{
    const int width = GetDeviceCaps(dc, HORZRES);
    const int height = GetDeviceCaps(dc, VERTRES);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    const int offsetX = GetDeviceCaps(dc, PHYSICALOFFSETX);
    const int offsetY = GetDeviceCaps(dc, PHYSICALOFFSETY);
    if (width <= 0 || height <= 0 || dpi <= 0)
        return false;
    for (int top = 0; top < height; top += kBandRows) {
        const int rows = std::min(kBandRows, height - top);
        QImage band(width, rows, QImage::Format_RGB32);
        band.setDotsPerMeterX(qRound(dpi / 0.0254));
        band.setDotsPerMeterY(qRound(GetDeviceCaps(dc, LOGPIXELSY) / 0.0254));
        band.fill(Qt::white);
        {
            QPainter painter(&band);
            painter.translate(-offsetX, -(offsetY + top));
            QPainterCanvas canvas(painter, dpi);
            job.PrintPage(canvas, page);
        }
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -rows; // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        if (StretchDIBits(dc, 0, top, width, rows, 0, 0, width, rows, band.constBits(), &info,
                          DIB_RGB_COLORS, SRCCOPY) == static_cast<int>(GDI_ERROR))
            return false;
    }
    return true;
}

// Empty when the job goes out; otherwise why it waits in the queue.
QString HeldReason(HANDLE printer, const QString& name, int jobId)
{
    DWORD jobStatus = 0;
    DWORD needed = 0;
    GetJobW(printer, static_cast<DWORD>(jobId), 1, nullptr, 0, &needed);
    if (needed > 0) {
        std::vector<char> buffer(needed);
        if (GetJobW(printer, static_cast<DWORD>(jobId), 1, reinterpret_cast<BYTE*>(buffer.data()),
                    needed, &needed))
            jobStatus = reinterpret_cast<JOB_INFO_1W*>(buffer.data())->Status;
    }
    DWORD printerStatus = 0;
    DWORD attributes = 0;
    needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    if (needed > 0) {
        std::vector<char> buffer(needed);
        if (GetPrinterW(printer, 2, reinterpret_cast<BYTE*>(buffer.data()), needed, &needed)) {
            const auto* info = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data());
            printerStatus = info->Status;
            attributes = info->Attributes;
        }
    }
    return SpoolerHold::Reason(name, jobStatus, printerStatus, attributes);
}
} // namespace

PrintService::Submission PrintService::Submit(const QString& printer, QPrinter& settings,
                                              const PrintJob& job, int first, int last,
                                              const QString& title)
{
    Submission result;
    const QString& name = printer;
    const std::wstring device = name.toStdWString();
    const auto refused = [&](const QString& why) {
        result.jobId = 0;
        result.error =
            QStringLiteral("プリンター %1 が印刷を受け付けませんでした。(%2)").arg(name, why);
        return result;
    };
    PrinterHandle opened;
    if (!OpenPrinterW(const_cast<wchar_t*>(device.c_str()), &opened.handle, nullptr))
        return refused(SystemMessage(GetLastError()));
    std::vector<char> mode = DevMode(opened.handle, device, settings);
    HDC dc = CreateDCW(L"WINSPOOL", device.c_str(), nullptr,
                       mode.empty() ? nullptr : reinterpret_cast<DEVMODEW*>(mode.data()));
    if (!dc)
        return refused(SystemMessage(GetLastError()));
    const std::wstring document = title.toStdWString();
    DOCINFOW info{};
    info.cbSize = sizeof info;
    info.lpszDocName = document.c_str();
    result.jobId = StartDocW(dc, &info);
    if (result.jobId <= 0) {
        const DWORD error = GetLastError();
        DeleteDC(dc);
        return refused(SystemMessage(error));
    }
    bool drawn = true;
    for (int page = first; page <= last && drawn; ++page)
        drawn = StartPage(dc) > 0 && DrawPage(dc, job, page) && EndPage(dc) > 0;
    if (!drawn) {
        AbortDoc(dc);
        DeleteDC(dc);
        result.jobId = 0;
        result.error = QStringLiteral("印刷データを作成できませんでした。");
        return result;
    }
    const bool ended = EndDoc(dc) > 0;
    const DWORD error = GetLastError();
    DeleteDC(dc);
    if (!ended)
        return refused(SystemMessage(error));
    result.held = HeldReason(opened.handle, name, result.jobId);
    return result;
}

namespace
{
// The spooler's word on a job: its status, and when it was submitted.
struct SpooledJob {
    bool found = false;
    DWORD status = 0;
    std::int64_t submitted = 0;
};

SpooledJob FindJob(HANDLE printer, int jobId)
{
    SpooledJob job;
    DWORD needed = 0;
    GetJobW(printer, static_cast<DWORD>(jobId), 1, nullptr, 0, &needed);
    if (needed == 0)
        return job;
    std::vector<char> buffer(needed);
    if (!GetJobW(printer, static_cast<DWORD>(jobId), 1, reinterpret_cast<BYTE*>(buffer.data()),
                 needed, &needed))
        return job;
    const auto* info = reinterpret_cast<JOB_INFO_1W*>(buffer.data());
    FILETIME file{};
    if (!SystemTimeToFileTime(&info->Submitted, &file))
        return job;
    const std::uint64_t ticks =
        (std::uint64_t(file.dwHighDateTime) << 32) | file.dwLowDateTime; // 100 ns since 1601
    job.found = true;
    job.status = info->Status;
    job.submitted = static_cast<std::int64_t>(ticks / 10'000'000ull) - 11'644'473'600ll;
    return job;
}
} // namespace

bool PrintService::IsQueued(const ApplyRecord::PrintJob& job)
{
    // The spooler gives job numbers again: only the job submitted then is ours.
    constexpr std::int64_t kSameJob = 300;
    if (job.id == 0)
        return false;
    PrinterHandle opened;
    std::wstring device = job.printer.toStdWString();
    if (!OpenPrinterW(device.data(), &opened.handle, nullptr))
        return false;
    const SpooledJob spooled = FindJob(opened.handle, job.id);
    constexpr DWORD kGone =
        JOB_STATUS_PRINTED | JOB_STATUS_DELETED | JOB_STATUS_DELETING | JOB_STATUS_COMPLETE;
    return spooled.found && (spooled.status & kGone) == 0 &&
           std::abs(spooled.submitted - job.submitted) <= kSameJob;
}

bool PrintService::Withdraw(const ApplyRecord::PrintJob& job, QString* error)
{
    PrinterHandle opened;
    std::wstring device = job.printer.toStdWString();
    if (!OpenPrinterW(device.data(), &opened.handle, nullptr) ||
        !SetJobW(opened.handle, static_cast<DWORD>(job.id), 0, nullptr, JOB_CONTROL_DELETE)) {
        *error = SystemMessage(GetLastError());
        return false;
    }
    return true;
}
