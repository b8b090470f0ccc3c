#include "CCardNamesDlg.h"

#include "OkCancelButtons.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace
{
enum Column { Id, LastUse, Name, ColumnCount };

QTableWidgetItem* Fixed(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}
} // namespace

CCardNamesDlg::CCardNamesDlg(std::vector<Card> cards, QWidget* parent)
    : QDialog(parent), m_cards(std::move(cards))
{
    setWindowTitle(QStringLiteral("カードの名前"));
    auto* layout = new QVBoxLayout(this);
    auto* hint =
        new QLabel(QStringLiteral("名前を付けたカードは、一覧のカード列と別のカードの確認に"
                                  "その名前で表示されます。"),
                   this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    m_table = new QTableWidget(static_cast<int>(m_cards.size()), ColumnCount, this);
    m_table->setObjectName(QStringLiteral("cardNames"));
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("カード"), QStringLiteral("最終利用"), QStringLiteral("名前")});
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::AllEditTriggers);
    m_table->setTabKeyNavigation(false);
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const Card& card = m_cards[static_cast<std::size_t>(row)];
        auto* id = Fixed(QStringLiteral("****") + card.idm.right(4));
        id->setToolTip(card.otherIds.isEmpty()
                           ? QStringLiteral("カード %1").arg(card.idm)
                           : QStringLiteral("カード %1（%2 としても読み込み）")
                                 .arg(card.idm, card.otherIds.join(QStringLiteral("、"))));
        m_table->setItem(row, Id, id);
        m_table->setItem(row, LastUse,
                         Fixed(card.lastUse.isValid()
                                   ? card.lastUse.toString(QStringLiteral("yyyy/MM/dd"))
                                   : QString()));
        m_table->setItem(row, Name, new QTableWidgetItem(card.name));
    }
    m_table->resizeColumnsToContents();
    for (int column : {Id, LastUse})
        m_table->setColumnWidth(column, m_table->columnWidth(column) + 24);
    m_table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_table, 1);
    if (m_cards.empty())
        layout->addWidget(new QLabel(
            QStringLiteral("まだカードがありません。カードを読み込むと、ここに表示されます。"),
            this));
    if (m_table->rowCount() > 0)
        m_table->setCurrentCell(0, Name);

    auto* buttons = OkCancelButtons(this);
    layout->addWidget(buttons);
    resize(560, 300);
}

std::vector<std::pair<QString, QString>> CCardNamesDlg::Result() const
{
    std::vector<std::pair<QString, QString>> names;
    for (int row = 0; row < m_table->rowCount(); ++row)
        names.emplace_back(m_cards[static_cast<std::size_t>(row)].idm,
                           m_table->item(row, Name)->text().trimmed());
    return names;
}
