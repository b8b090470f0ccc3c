#pragma once

#include <QString>
#include <cstdint>
#include <utility>

class CardWaitDialog;

// What a card read shows beyond its messages: the card and balance panes of
// the status bar, the detection dialog, and the moment a card was read (the
// success sound). The desktop program shows all of it; the command line
// prints the waiting and leaves the rest out.
class CardReadFrontEnd
{
public:
    virtual ~CardReadFrontEnd() = default;

    // The card pane gets the text; the balance pane shows the balance as
    // "%s円", or is emptied when the balance is negative.
    virtual void ShowCardStatus(const QString& idm, std::int32_t balance) = 0;
    virtual std::pair<QString, QString> CardPaneTexts() const = 0;
    virtual void SetCardPaneTexts(const QString& card, const QString& balance) = 0;
    // The detection dialog for a polling time above 0; none for one attempt.
    virtual CardWaitDialog* WaitDialog() = 0;
    // A card has been read; the import follows.
    virtual void CardWasRead() {}
};
