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

    static QString BalanceTextFor(std::int32_t balance);

private:
    QLabel* m_card = nullptr;
    QLabel* m_balance = nullptr;
};
