#pragma once

#include "CApplyHistoryDlg.h"

#include <QString>

class CCorvaneDoc;
class QWidget;

// 申請履歴 in the desktop program: the dialog's list, cancellation and
// repair on the claim's application history, and the print service's word
// on a print still held in its queue.
class HistoryCommands
{
public:
    explicit HistoryCommands(CCorvaneDoc& doc, QWidget* parent = nullptr)
        : m_doc(doc), m_parent(parent)
    {
    }

    // What the dialog asks of the history.
    CApplyHistoryDlg::History Access();
    // Takes the application back, and then withdraws its print when the
    // print service still holds it. False with the reason when nothing was
    // taken back; true with what the user must know (a print that could not
    // be withdrawn) otherwise.
    bool Cancel(const AppliedLines::Application& application, const QString& reason,
                QString* message);
    // Whether the application's print is still in the print service's queue.
    static bool Held(const AppliedLines::Application& application);

private:
    CCorvaneDoc& m_doc;
    QWidget* m_parent;
};
