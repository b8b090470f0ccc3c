#include "CCsvSettingDlg.h"

#include "AppSettings.h"
#include "CToolTipCtrlEx.h"
#include "CsvWriter.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace
{
constexpr int kFirstColumn = 2;
constexpr int kLastColumn = 12;
} // namespace

CCsvSettingDlg::CCsvSettingDlg(const Choices& choices, QWidget* parent)
    : QDialog(parent), m_choices(choices)
{
    setWindowTitle(QStringLiteral("CSV保存設定"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("出力項目、順序を設定します。"), this));
    auto* row = new QHBoxLayout;
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("columns"));
    m_list->setDragDropMode(QAbstractItemView::InternalMove); // reorder by dragging too
    m_list->setDefaultDropAction(Qt::MoveAction);
    m_list->setMinimumSize(200, 240);
    row->addWidget(m_list, 1);
    auto* buttons = new QVBoxLayout;
    m_up = new QToolButton(this);
    m_up->setIcon(QIcon::fromTheme(QStringLiteral("go-up")));

    m_down = new QToolButton(this);
    m_down->setIcon(QIcon::fromTheme(QStringLiteral("go-down")));
    auto* tips = new CToolTipCtrlEx(this);
    tips->AddTool(m_up, QStringLiteral("上へ"), QStringLiteral("項目を上に移動します。"),
                  QStringLiteral("go-up"));
    tips->AddTool(m_down, QStringLiteral("下へ"), QStringLiteral("項目を下に移動します。"),
                  QStringLiteral("go-down"));
    connect(m_up, &QToolButton::clicked, this, &CCsvSettingDlg::MoveUp);
    connect(m_down, &QToolButton::clicked, this, &CCsvSettingDlg::MoveDown);
    buttons->addWidget(m_up);
    buttons->addWidget(m_down);
    buttons->addStretch();
    row->addLayout(buttons);
    layout->addLayout(row);
    m_applyOnly = new QCheckBox(QStringLiteral("申請対象のみ保存する"), this);
    m_applyOnly->setChecked(choices.applyOnly);
    m_header = new QCheckBox(QStringLiteral("ヘッダーを付加する"), this);
    m_header->setChecked(choices.header);
    layout->addWidget(m_applyOnly);
    layout->addWidget(m_header);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(box, &QDialogButtonBox::accepted, this, &CCsvSettingDlg::accept);
    connect(box, &QDialogButtonBox::rejected, this, &CCsvSettingDlg::reject);
    layout->addWidget(box);
    Fill();
}

void CCsvSettingDlg::Fill()
{
    AppSettings parse;
    parse.CsvOutputItem = m_choices.outputItem;
    std::vector<std::uint16_t> chosen;
    parse.GetCsvOutputItems(chosen);
    const auto add = [this](int id, bool ticked) {
        auto* item = new QListWidgetItem(CsvWriter::Header(static_cast<std::uint16_t>(id)), m_list);
        item->setData(Qt::UserRole, id);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable |
                       Qt::ItemIsDragEnabled);
        item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    };
    for (std::uint16_t id : chosen)
        if (id >= kFirstColumn && id <= kLastColumn)
            add(id, true); // in export order, twice when named twice
    for (int id = kFirstColumn; id <= kLastColumn; ++id)
        if (std::find(chosen.begin(), chosen.end(), id) == chosen.end())
            add(id, false);
    m_list->setCurrentRow(0);
}

void CCsvSettingDlg::Move(int offset)
{
    const int row = m_list->currentRow();
    const int target = row + offset;
    m_list->setFocus();
    if (row < 0 || target < 0 || target >= m_list->count())
        return;
    QListWidgetItem* item = m_list->takeItem(row);
    m_list->insertItem(target, item);
    m_list->setCurrentRow(target);
}

void CCsvSettingDlg::MoveUp()
{
    Move(-1);
}

void CCsvSettingDlg::MoveDown()
{
    Move(1);
}

QString CCsvSettingDlg::OutputItemOf(const QListWidget& list)
{
    QStringList ids;
    for (int i = 0; i < list.count(); ++i)
        if (list.item(i)->checkState() == Qt::Checked)
            ids << QString::number(list.item(i)->data(Qt::UserRole).toInt());
    return ids.join(QLatin1Char(','));
}

void CCsvSettingDlg::accept()
{
    m_choices.applyOnly = m_applyOnly->isChecked();
    m_choices.header = m_header->isChecked();
    m_choices.outputItem = OutputItemOf(*m_list);
    QDialog::accept();
}
