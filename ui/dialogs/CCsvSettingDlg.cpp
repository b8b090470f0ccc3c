#include "CCsvSettingDlg.h"

#include "AppSettings.h"
#include "CToolTipCtrlEx.h"
#include "CsvWriter.h"
#include "OkCancelButtons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
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
    layout->addLayout(MakeFormatChoices());
    layout->addWidget(new QLabel(QStringLiteral("出力項目、順序を設定します。"), this));
    layout->addLayout(MakeColumnList());
    AddOptions(*layout);
    auto* box = OkCancelButtons(this);
    layout->addWidget(box);
    Fill();
    EnableForProfile();
    connect(m_profile, &QComboBox::currentIndexChanged, this, &CCsvSettingDlg::EnableForProfile);
}

QLayout* CCsvSettingDlg::MakeFormatChoices()
{
    auto* form = new QFormLayout;
    m_profile = new QComboBox(this);
    m_profile->setObjectName(QStringLiteral("profile"));
    m_profile->addItems({QStringLiteral("選択した項目"), QStringLiteral("カード履歴")});
    m_profile->setCurrentIndex(m_choices.history ? 1 : 0);
    m_profile->setToolTip(QStringLiteral("カード履歴は経費精算サービスが取り込む形式です"
                                         "（Shift-JIS、項目と順序は固定）。"));
    form->addRow(QStringLiteral("形式:"), m_profile);
    m_encoding = new QComboBox(this);
    m_encoding->setObjectName(QStringLiteral("encoding"));
    m_encoding->addItems({QStringLiteral("Shift-JIS"), QStringLiteral("UTF-8 (BOM付き)")});
    m_columnsEncoding = m_choices.utf8 ? 1 : 0;
    m_encoding->setCurrentIndex(m_columnsEncoding);
    form->addRow(QStringLiteral("文字コード:"), m_encoding);
    return form;
}

QLayout* CCsvSettingDlg::MakeColumnList()
{
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
    return row;
}

void CCsvSettingDlg::AddOptions(QVBoxLayout& layout)
{
    m_applyOnly = new QCheckBox(QStringLiteral("申請対象のみ保存する"), this);
    m_applyOnly->setChecked(m_choices.applyOnly);
    m_header = new QCheckBox(QStringLiteral("ヘッダーを付加する"), this);
    m_header->setObjectName(QStringLiteral("header"));
    m_header->setChecked(m_choices.header);
    m_showCardId = new QCheckBox(QStringLiteral("カードIDを全桁出力する"), this);
    m_showCardId->setObjectName(QStringLiteral("showCardId"));
    m_showCardId->setChecked(m_choices.showCardId);
    layout.addWidget(m_applyOnly);
    layout.addWidget(m_header);
    layout.addWidget(m_showCardId);
}

void CCsvSettingDlg::EnableForProfile()
{
    const bool history = m_profile->currentIndex() == 1;
    // The encoding shows what the history layout writes, and the choice for
    // the columns comes back when they are chosen again.
    if (history && m_encoding->isEnabled())
        m_columnsEncoding = m_encoding->currentIndex();
    m_encoding->setCurrentIndex(history ? 0 : m_columnsEncoding);
    const std::initializer_list<QWidget*> columnsOnly = {m_list, m_up, m_down, m_header,
                                                         m_encoding};
    for (QWidget* widget : columnsOnly)
        widget->setEnabled(!history);
    m_showCardId->setEnabled(history);
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
    m_choices.history = m_profile->currentIndex() == 1;
    m_choices.utf8 =
        (m_encoding->isEnabled() ? m_encoding->currentIndex() : m_columnsEncoding) == 1;
    m_choices.showCardId = m_showCardId->isChecked();
    QDialog::accept();
}
