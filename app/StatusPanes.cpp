#include "StatusPanes.h"

#include "TextFormat.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace
{
QLabel* Pane(const QString& widthTemplate, const QString& tip, QWidget* parent)
{
    auto* pane = new QLabel(parent);
    pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(widthTemplate) + 8);
    pane->setToolTip(tip);
    return pane;
}
} // namespace

StatusPanes::StatusPanes(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("statusBar"));
    m_document = new QLabel(this);
    m_document->setObjectName(QStringLiteral("documentPane"));
    m_document->setContentsMargins(4, 0, 4, 0);
    m_document->setTextFormat(Qt::PlainText);
    // A long file name gives way to the panes (its tooltip has the path).
    m_document->setMinimumWidth(
        m_document->fontMetrics().horizontalAdvance(QStringLiteral("無題 ＊未保存")) + 8);
    m_document->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    addWidget(m_document, 1); // the room the panes leave
    m_claim =
        Pane(QStringLiteral("申請 999件 9,999,999円"), QStringLiteral("申請する明細と合計"), this);
    m_claim->setObjectName(QStringLiteral("claimPane"));
    m_claim->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_card = Pane(QStringLiteral("9999999999999999 "), QStringLiteral("カードIDm"), this);
    m_card->setObjectName(QStringLiteral("ID_PANE_IDM"));
    m_balance = Pane(QStringLiteral("99,999円 "), QStringLiteral("カード残高"), this);
    m_balance->setObjectName(QStringLiteral("ID_PANE_BALANCE"));
    m_balance->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    addPermanentWidget(m_claim);
    addPermanentWidget(new QLabel(QStringLiteral("IDm"), this));
    addPermanentWidget(m_card);
    addPermanentWidget(new QLabel(QStringLiteral("残高"), this));
    addPermanentWidget(m_balance);
}

QString StatusPanes::BalanceTextFor(std::int32_t balance)
{
    return balance < 0 ? QString() : FormatAmount(balance) + QStringLiteral("円");
}

void StatusPanes::ShowCardStatus(const QString& idm, std::int32_t balance)
{
    SetCardPaneTexts(idm, BalanceTextFor(balance));
}

void StatusPanes::SetCardPaneTexts(const QString& card, const QString& balance)
{
    m_card->setText(card);
    m_balance->setText(balance);
    m_card->repaint();
    m_balance->repaint();
}

QString StatusPanes::CardText() const
{
    return m_card->text();
}

QString StatusPanes::BalanceText() const
{
    return m_balance->text();
}

void StatusPanes::AddButtonGroup(const QString& label, std::initializer_list<QAction*> actions)
{
    auto* group = new QWidget(this);
    auto* layout = new QHBoxLayout(group);
    layout->setContentsMargins(4, 0, 0, 0);
    layout->setSpacing(1);
    group->setToolTip(label);
    for (QAction* action : actions) {
        auto* button = new QToolButton(group);
        button->setDefaultAction(action);
        button->setAutoRaise(true);
        button->setIconSize(QSize(14, 14));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        layout->addWidget(button);
    }
    addPermanentWidget(group);
}

void StatusPanes::ShowDocument(const QString& title, const QString& path, bool modified,
                               bool recorded)
{
    QString text = title;
    if (recorded)
        text += QStringLiteral("（申請の記録）");
    if (modified)
        text += QStringLiteral(" ＊未保存");
    m_document->setText(text);
    m_document->setToolTip(path.isEmpty() ? QStringLiteral("まだ保存していない交通費情報です")
                                          : path);
}

QString StatusPanes::DocumentText() const
{
    return m_document->text();
}

void StatusPanes::ShowClaim(int lines, std::int64_t total)
{
    m_claim->setText(QStringLiteral("申請 %1件 %2円").arg(lines).arg(FormatYen(total)));
}

QString StatusPanes::ClaimText() const
{
    return m_claim->text();
}
