#pragma once

#include <QDialog>

class PrintJob;
class QLabel;
class QPrinter;
class QPrintPreviewWidget;

// The claim's pages as they will print. It records nothing; its 印刷...
// button closes it with PrintRequested, so the print goes through the one
// print command that records the claim.
class ClaimPreviewDlg : public QDialog
{
    Q_OBJECT

public:
    enum Result { PrintRequested = QDialog::Accepted + 1 };

    ClaimPreviewDlg(const PrintJob& job, QPrinter& printer, QWidget* parent = nullptr);

    QPrintPreviewWidget& Preview() const { return *m_preview; }
    const PrintJob& Job() const { return m_job; }

private:
    void UpdatePageText();

    const PrintJob& m_job;
    QPrintPreviewWidget* m_preview = nullptr;
    QLabel* m_page = nullptr;
};
