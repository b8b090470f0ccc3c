#pragma once

#include "CardReadFrontEnd.h"

#include <QStatusBar>

class QLabel;
class QToolButton;
class QAction;

// The status bar: the card pane (IDm), the balance pane, and the two button
// groups of the list's view settings and the automatic file settings.
class StatusPanes : public QStatusBar
{
    Q_OBJECT

public:
    explicit StatusPanes(QWidget* parent = nullptr);

    // The balance pane shows "%s円" of the formatted balance, or nothing
    // when the balance is negative.
    void ShowCardStatus(const QString& idm, std::int32_t balance);
    void SetCardPaneTexts(const QString& card, const QString& balance);
    QString CardText() const;
    QString BalanceText() const;
    // The buttons at the right act through the frame's own actions.
    void AddButtonGroup(const QString& label, std::initializer_list<QAction*> actions);
    // The claim's file name ("無題" when never saved), marked while it has
    // unsaved changes, and whether it is a recorded application.
    void ShowDocument(const QString& title, const QString& path, bool modified, bool recorded);
    QString DocumentText() const;
    // What the claim is worth: "申請 15件 4,700円".
    void ShowClaim(int lines, std::int64_t total);
    QString ClaimText() const;

    static QString BalanceTextFor(std::int32_t balance);

private:
    QLabel* m_document = nullptr;
    QLabel* m_claim = nullptr;
    QLabel* m_card = nullptr;
    QLabel* m_balance = nullptr;
};
