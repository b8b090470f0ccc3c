#include "ClaimPreviewDlg.h"

#include "PrintJob.h"
#include "QtClaimPrinter.h"

#include <QIcon>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QToolBar>
#include <QVBoxLayout>

ClaimPreviewDlg::ClaimPreviewDlg(const PrintJob& job, QPrinter& printer, QWidget* parent)
    : QDialog(parent), m_job(job)
{
    setWindowTitle(QStringLiteral("印刷プレビュー"));
    m_preview = new QPrintPreviewWidget(&printer, this);
    m_preview->setObjectName(QStringLiteral("preview"));
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* target) {
        QtClaimPrinter::PaintPages(m_job, *target, 1, m_job.PageCount());
    });
    connect(m_preview, &QPrintPreviewWidget::previewChanged, this,
            &ClaimPreviewDlg::UpdatePageText);

    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const auto add = [bar](const char* icon, const QString& text, const QKeySequence& keys) {
        QAction* action = bar->addAction(QIcon::fromTheme(QLatin1String(icon)), text);
        action->setShortcut(keys);
        return action;
    };
    QAction* print = add("document-print", QStringLiteral("印刷(&P)..."), QKeySequence::Print);
    print->setObjectName(QStringLiteral("previewPrint"));
    connect(print, &QAction::triggered, this, [this] { done(PrintRequested); });
    bar->addSeparator();
    connect(add("go-previous", QStringLiteral("前のページ"), QKeySequence(Qt::Key_PageUp)),
            &QAction::triggered, this, [this] {
                m_preview->setCurrentPage(m_preview->currentPage() - 1);
                UpdatePageText();
            });
    m_page = new QLabel(this);
    m_page->setObjectName(QStringLiteral("previewPage"));
    m_page->setContentsMargins(8, 0, 8, 0);
    bar->addWidget(m_page);
    connect(add("go-next", QStringLiteral("次のページ"), QKeySequence(Qt::Key_PageDown)),
            &QAction::triggered, this, [this] {
                m_preview->setCurrentPage(m_preview->currentPage() + 1);
                UpdatePageText();
            });
    bar->addSeparator();
    connect(add("zoom-out", QStringLiteral("縮小"), QKeySequence::ZoomOut), &QAction::triggered,
            m_preview, [this] { m_preview->zoomOut(); });
    connect(add("zoom-in", QStringLiteral("拡大"), QKeySequence::ZoomIn), &QAction::triggered,
            m_preview, [this] { m_preview->zoomIn(); });
    connect(add("zoom-fit-best", QStringLiteral("ページ全体"), QKeySequence()), &QAction::triggered,
            m_preview, &QPrintPreviewWidget::fitInView);
    bar->addSeparator();
    QAction* close = add("window-close", QStringLiteral("閉じる"), QKeySequence());
    connect(close, &QAction::triggered, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(m_preview, 1);
}

void ClaimPreviewDlg::UpdatePageText()
{
    m_page->setText(
        QStringLiteral("%1 / %2").arg(m_preview->currentPage()).arg(m_preview->pageCount()));
}
