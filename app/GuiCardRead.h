#pragma once

#include "CardReadFrontEnd.h"

#include <functional>

class AppSettings;
class CCardReadDlg;
class StatusPanes;
class QWidget;

// What the desktop program adds to a card read: the status panes, the
// detection dialog over the main window, the success sound and the wait
// cursor during the import. Made for one read: the panes' texts when it is
// made come back as soon as the detection dialog gives up.
class GuiCardRead : public CardReadFrontEnd
{
public:
    GuiCardRead(StatusPanes& panes, const AppSettings& settings, QWidget* window);
    ~GuiCardRead() override;

    void ShowCardStatus(const QString& idm, std::int32_t balance) override;
    std::pair<QString, QString> CardPaneTexts() const override;
    void SetCardPaneTexts(const QString& card, const QString& balance) override;
    CardWaitDialog* WaitDialog() override;
    void CardWasRead() override;

private:
    StatusPanes& m_panes;
    const AppSettings& m_settings;
    QWidget* m_window;
    std::pair<QString, QString> m_before;
    std::unique_ptr<CCardReadDlg> m_dialog;
    bool m_waitCursor = false;
};
