#include "CEntryEditDlg.h"

#include "CEditEx.h"
#include "HistoryCodes.h"
#include "LineStations.h"
#include "Prompts.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace
{
constexpr int kNameLength = 20;
constexpr int kTextLength = 30;
constexpr int kFareDigits = 5;

QLineEdit* MakeNameEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(kNameLength);
    edit->setMinimumWidth(160);
    return edit;
}

// The limits are for typing: a longer stored text is shown whole and comes
// back unchanged unless the user edits it.
void ShowWhole(QLineEdit* edit, const QString& text, int limit)
{
    edit->setMaxLength(std::max<int>(limit, static_cast<int>(text.size())));
    edit->setText(text);
}

QGroupBox* SideBox(const QString& title, QLineEdit* const* edits, QWidget* parent)
{
    auto* box = new QGroupBox(title, parent);
    auto* form = new QFormLayout(box);
    form->addRow(QStringLiteral("会社名"), edits[0]);
    form->addRow(QStringLiteral("路線名"), edits[1]);
    form->addRow(QStringLiteral("駅名"), edits[2]);
    return box;
}
} // namespace

CEntryEditDlg::CEntryEditDlg(const EntryInfo& source, const QStringList& visitHistory,
                             const QString& routeTemplate, const EntryInfo* templateLine,
                             bool manualLine, Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_workingCopy(source), m_visitHistory(visitHistory),
      m_routeTemplate(routeTemplate), m_templateLine(templateLine), m_manualLine(manualLine),
      m_prompts(prompts), m_terminalText(TerminalTypeText(source.terminalType)),
      m_processText(ProcessTypeText(source.processType))
{
    setWindowTitle(QStringLiteral("交通費") +
                   (templateLine ? QStringLiteral("追加") : QStringLiteral("編集")));
    BuildControls();
    FillControls();
    if (!m_manualLine)
        ApplyCardRestrictions();
    FocusFirstField();
}

void CEntryEditDlg::FocusFirstField()
{
    // Typing starts in the first field that may change, not on the buttons.
    QWidget* fields[] = {m_date,     m_names[0], m_names[1], m_names[2], m_names[3],
                         m_names[4], m_names[5], m_fare,     m_visit,    m_remarks};
    for (QWidget* field : fields) {
        if (field->isEnabled()) {
            field->setFocus();
            return;
        }
    }
}

void CEntryEditDlg::BuildControls()
{
    auto* layout = new QVBoxLayout(this);

    auto* top = new QGridLayout;
    m_copy = new QPushButton(QStringLiteral("選択項目コピー"), this);
    connect(m_copy, &QPushButton::clicked, this, &CEntryEditDlg::CopyFromTemplate);
    top->addWidget(m_copy, 0, 0, 1, 2, Qt::AlignLeft);
    top->addWidget(new QLabel(QStringLiteral("利用年月日"), this), 1, 0);
    m_date = new QDateEdit(this);
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    top->addWidget(m_date, 1, 1);
    m_terminal = new QLabel(this);
    m_process = new QLabel(this);
    m_balance = new QLabel(this);
    auto* facts = new QFormLayout;
    facts->addRow(QStringLiteral("端末："), m_terminal);
    facts->addRow(QStringLiteral("処理："), m_process);
    facts->addRow(QStringLiteral("残高："), m_balance);
    top->addLayout(facts, 0, 2, 2, 1);
    top->setColumnStretch(2, 1);
    top->setColumnMinimumWidth(2, 200);
    layout->addLayout(top);

    for (QLineEdit*& edit : m_names)
        edit = MakeNameEdit(this);
    auto* sides = new QHBoxLayout;
    sides->addWidget(SideBox(QStringLiteral("入場"), m_names, this));
    sides->addWidget(SideBox(QStringLiteral("出場"), m_names + 3, this));
    layout->addLayout(sides);

    auto* details = new QGridLayout;
    m_fare = new CEditEx(CEditEx::Mode::Digits, this);
    m_fare->setMaxLength(kFareDigits);
    m_fare->setAlignment(Qt::AlignRight);
    m_fare->setMaximumWidth(90);
    auto* fareRow = new QHBoxLayout;
    fareRow->addWidget(m_fare);
    fareRow->addWidget(new QLabel(QStringLiteral("円"), this));
    fareRow->addStretch();
    details->addWidget(new QLabel(QStringLiteral("運賃"), this), 0, 0);
    details->addLayout(fareRow, 0, 1);
    m_visit = new QComboBox(this);
    m_visit->setEditable(true);
    m_visit->setInsertPolicy(QComboBox::NoInsert);
    m_visit->lineEdit()->setMaxLength(kTextLength);
    m_visit->setMinimumWidth(260);
    details->addWidget(new QLabel(QStringLiteral("訪問先"), this), 1, 0);
    details->addWidget(m_visit, 1, 1);
    m_remarks = new QLineEdit(this);
    m_remarks->setMaxLength(kTextLength);
    details->addWidget(new QLabel(QStringLiteral("備考"), this), 2, 0);
    details->addWidget(m_remarks, 2, 1);
    m_distanceCaption = new QLabel(QStringLiteral("直線移動距離："), this);
    m_distance = new QLabel(this);
    m_bearingCaption = new QLabel(QStringLiteral("方位："), this);
    m_bearing = new QLabel(this);
    details->addWidget(m_distanceCaption, 1, 2, Qt::AlignRight);
    details->addWidget(m_distance, 1, 3);
    details->addWidget(m_bearingCaption, 2, 2, Qt::AlignRight);
    details->addWidget(m_bearing, 2, 3);
    details->setColumnStretch(1, 1);
    layout->addLayout(details);

    auto* bottom = new QHBoxLayout;
    m_report =
        new QLabel(QStringLiteral("<a href=\"report\">未登録情報もしくは誤りの報告</a>"), this);
    m_report->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(m_report, &QLabel::linkActivated, this, &CEntryEditDlg::CorrectStations);
    bottom->addWidget(m_report);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CEntryEditDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CEntryEditDlg::reject);
    bottom->addWidget(buttons);
    layout->addLayout(bottom);
}

void CEntryEditDlg::FillControls()
{
    const EntryInfo& line = m_workingCopy;
    m_terminal->setText(m_terminalText);
    m_process->setText(m_processText);
    m_balance->setText(QStringLiteral("%1円").arg(line.balance));
    m_date->setDate(QDateTime::fromSecsSinceEpoch(line.dateTime).date());
    const QString names[6] = {line.entryCompanyName, line.entryLineName, line.entryStationName,
                              line.exitCompanyName,  line.exitLineName,  line.exitStationName};
    for (int i = 0; i < 6; ++i)
        ShowWhole(m_names[i], names[i], kNameLength);
    ShowWhole(m_fare, QString::number(line.fare), kFareDigits);
    ShowWhole(m_remarks, line.remarks, kTextLength);
    m_visit->addItems(m_visitHistory);
    ShowWhole(m_visit->lineEdit(), line.visitDestination, kTextLength);

    const bool distance = line.distance != 0;
    if (distance) {
        m_distance->setText(QString::asprintf(
            "%.1fkm", static_cast<double>(static_cast<float>(line.distance)) / 1000.0));
        m_bearing->setText(QString::asprintf("%.1f°", static_cast<double>(line.bearing)));
    }
    for (QLabel* label : {m_distanceCaption, m_distance, m_bearingCaption, m_bearing})
        label->setVisible(distance);
    m_copy->setVisible(m_templateLine != nullptr);
    m_report->setVisible(!LineStations::Of(line).empty());
}

void CEntryEditDlg::ApplyCardRestrictions()
{
    m_date->setEnabled(false);
    m_fare->setEnabled(false);
    bool entry = false;
    bool exit = false;
    switch (m_workingCopy.processType) {
    case 0x03:
        exit = true;
        break;
    case 0x04:
        entry = true;
        break;
    case 0x0D:
    case 0x0F:
        entry = exit = true;
        break;
    default:
        break;
    }
    for (int i = 0; i < 3; ++i) {
        m_names[i]->setEnabled(entry);
        m_names[i + 3]->setEnabled(exit);
    }
}

void CEntryEditDlg::CopyFromTemplate()
{
    if (!m_templateLine)
        return;
    const EntryInfo& t = *m_templateLine;
    const QString names[6] = {t.entryCompanyName, t.entryLineName, t.entryStationName,
                              t.exitCompanyName,  t.exitLineName,  t.exitStationName};
    for (int i = 0; i < 6; ++i)
        ShowWhole(m_names[i], names[i], kNameLength);
    ShowWhole(m_fare, QString::number(t.fare), kFareDigits);
    ShowWhole(m_remarks, t.remarks, kTextLength);
    ShowWhole(m_visit->lineEdit(), t.visitDestination, kTextLength);
}

void CEntryEditDlg::accept()
{
    bool isNumber = false;
    const int fare = m_fare->text().trimmed().toInt(&isNumber);
    if (!isNumber) {
        m_prompts.Ask(QStringLiteral("整数を入力してください。"), Prompts::Icon::Exclamation,
                      Prompts::Buttons::Ok);
        m_fare->setFocus();
        return;
    }
    EntryInfo& line = m_workingCopy;
    const QDateTime old = QDateTime::fromSecsSinceEpoch(line.dateTime);
    if (m_date->date() != old.date()) {
        // A line whose date the user changed is no longer the card's record.
        line.idm = {};
        line.terminalType = line.processType = EntryInfo::kManualCode;
        line.balance = line.serialNumber = line.regionByte = 0;
        line.distance = 0;
        line.bearing = 0;
        line.entryLatitude = line.entryLongitude = line.exitLatitude = line.exitLongitude = 0;
        line.dateTime = QDateTime(m_date->date(), old.time()).toSecsSinceEpoch();
    }
    if (m_names[2]->text() != line.entryStationName || m_names[5]->text() != line.exitStationName) {
        line.distance = 0;
        line.bearing = 0;
        line.entryLatitude = line.entryLongitude = line.exitLatitude = line.exitLongitude = 0;
    }
    line.entryCompanyName = m_names[0]->text();
    line.entryLineName = m_names[1]->text();
    line.entryStationName = m_names[2]->text();
    line.exitCompanyName = m_names[3]->text();
    line.exitLineName = m_names[4]->text();
    line.exitStationName = m_names[5]->text();
    line.fare = fare;
    line.remarks = m_remarks->text();
    line.applyFlag = fare != 0 ? 1 : 0;
    line.visitDestination = m_visit->currentText();
    QDialog::accept();
}

void CEntryEditDlg::CorrectStations()
{
    const auto corrected = m_correct ? m_correct(m_workingCopy) : std::nullopt;
    if (!corrected)
        return;
    // The corrected names replace what the fields had; the others stay as typed.
    EntryInfo& line = m_workingCopy;
    QString* names[6] = {&line.entryCompanyName, &line.entryLineName, &line.entryStationName,
                         &line.exitCompanyName,  &line.exitLineName,  &line.exitStationName};
    const QString now[6] = {corrected->entryCompanyName, corrected->entryLineName,
                            corrected->entryStationName, corrected->exitCompanyName,
                            corrected->exitLineName,     corrected->exitStationName};
    for (int i = 0; i < 6; ++i) {
        if (now[i] != *names[i]) {
            *names[i] = now[i];
            ShowWhole(m_names[i], now[i], kNameLength);
        }
    }
}
