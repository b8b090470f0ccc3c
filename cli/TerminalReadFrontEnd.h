#pragma once

#include "CardReadFrontEnd.h"
#include "TerminalWaitDialog.h"

// A card read in a terminal: the waiting is printed, there are no panes.
class TerminalReadFrontEnd : public CardReadFrontEnd
{
public:
    void ShowCardStatus(const QString&, std::int32_t) override {}
    std::pair<QString, QString> CardPaneTexts() const override { return {}; }
    void SetCardPaneTexts(const QString&, const QString&) override {}
    CardWaitDialog* WaitDialog() override { return &m_dialog; }

private:
    TerminalWaitDialog m_dialog;
};
