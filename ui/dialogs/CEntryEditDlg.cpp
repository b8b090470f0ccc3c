#include "CEntryEditDlg.h"

#include "CEditEx.h"
#include "ClaimRules.h"
#include "HistoryCodes.h"
#include "JapaneseCalendar.h"
#include "LineStations.h"
#include "OkCancelButtons.h"
#include "Prompts.h"
#include "RefusalNotice.h"
#include "TextLimit.h"

#include <QApplication>
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
// A refused paste is quoted up to this many characters.
constexpr int kQuotedLength = 40;

const char16_t* const kNameFields[6] = {u"入場会社名", u"入場路線名", u"入場駅名",
                                        u"出場会社名", u"出場路線名", u"出場駅名"};

QLineEdit* MakeNameEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setMinimumWidth(160);
    return edit;
}

QGroupBox* SideBox(const QString& title, QWidget* const* rows, QWidget* parent)
{
    auto* box = new QGroupBox(title, parent);
    auto* form = new QFormLayout(box);
    form->addRow(QStringLiteral("会社名"), rows[0]);
    form->addRow(QStringLiteral("路線名"), rows[1]);
    form->addRow(QStringLiteral("駅名"), rows[2]);
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
    // Made first: every field's limit reports to it.
    m_notice = new RefusalNotice(this);

    auto* top = new QGridLayout;
    m_copy = new QPushButton(QStringLiteral("選択項目コピー"), this);
    connect(m_copy, &QPushButton::clicked, this, &CEntryEditDlg::CopyFromTemplate);
    top->addWidget(m_copy, 0, 0, 1, 2, Qt::AlignLeft);
    top->addWidget(new QLabel(QStringLiteral("利用年月日"), this), 1, 0);
    m_date = new QDateEdit(this);
    m_date->setCalendarPopup(true);
    m_date->setCalendarWidget(new JapaneseCalendar(m_date));
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

    m_claimed = new QLabel(this);
    m_claimed->setObjectName(QStringLiteral("claimedNote"));
    m_claimed->setWordWrap(true);
    m_claimed->setFrameShape(QFrame::StyledPanel);
    m_claimed->setMargin(6);
    m_claimed->hide();
    layout->addWidget(m_claimed);

    QWidget* nameRows[6] = {};
    for (int i = 0; i < 6; ++i) {
        m_names[i] = AddLimit(MakeNameEdit(this), kNameLength, QString::fromUtf16(kNameFields[i]),
                              QStringLiteral("文字"), true);
        nameRows[i] = WithCounter(m_names[i], m_names[i]);
    }
    auto* sides = new QHBoxLayout;
    sides->addWidget(SideBox(QStringLiteral("入場"), nameRows, this));
    sides->addWidget(SideBox(QStringLiteral("出場"), nameRows + 3, this));
    layout->addLayout(sides);

    auto* details = new QGridLayout;
    m_fare = new CEditEx(CEditEx::Mode::Digits, this);
    AddLimit(m_fare, kFareDigits, QStringLiteral("運賃"), QStringLiteral("桁"), false);
    m_fare->SetRefusedHandler([this](const QString& typed) {
        m_notice->Refused(m_fare, typed, [](const QString& refused) {
            return QStringLiteral("運賃は数字で入力してください。「%1」は入力されていません。")
                .arg(refused);
        });
    });
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
    m_visit->setMinimumWidth(260);
    AddLimit(m_visit->lineEdit(), kTextLength, QStringLiteral("訪問先"), QStringLiteral("文字"),
             true);
    details->addWidget(new QLabel(QStringLiteral("訪問先"), this), 1, 0);
    details->addWidget(WithCounter(m_visit, m_visit->lineEdit()), 1, 1);
    m_suggestion = new QLabel(SuggestionNote(), this);
    m_suggestion->setObjectName(QStringLiteral("suggestionNote"));
    m_suggestion->setWordWrap(true);
    m_suggestion->hide();
    details->addWidget(m_suggestion, 2, 1, 1, 3);
    m_remarks = AddLimit(new QLineEdit(this), kTextLength, QStringLiteral("備考"),
                         QStringLiteral("文字"), true);
    details->addWidget(new QLabel(QStringLiteral("備考"), this), 3, 0);
    details->addWidget(WithCounter(m_remarks, m_remarks), 3, 1);
    m_distanceCaption = new QLabel(QStringLiteral("直線移動距離："), this);
    m_distance = new QLabel(this);
    m_bearingCaption = new QLabel(QStringLiteral("方位："), this);
    m_bearing = new QLabel(this);
    details->addWidget(m_distanceCaption, 1, 2, Qt::AlignRight);
    details->addWidget(m_distance, 1, 3);
    details->addWidget(m_bearingCaption, 3, 2, Qt::AlignRight);
    details->addWidget(m_bearing, 3, 3);
    details->setColumnStretch(1, 1);
    layout->addLayout(details);

    layout->addWidget(m_notice);

    auto* bottom = new QHBoxLayout;
    m_report =
        new QLabel(QStringLiteral("<a href=\"report\">未登録情報もしくは誤りの報告</a>"), this);
    m_report->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(m_report, &QLabel::linkActivated, this, &CEntryEditDlg::CorrectStations);
    bottom->addWidget(m_report);
    auto* buttons = OkCancelButtons(this);
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
        m_names[i]->setText(names[i]);
    m_fare->setText(line.fareUnknown ? QString() : QString::number(line.fare));
    if (line.fareUnknown) {
        m_fare->setPlaceholderText(QStringLiteral("不明"));
        m_fare->setToolTip(UnknownFareNote());
    }
    m_remarks->setText(line.remarks);
    m_visit->addItems(m_visitHistory);
    m_visit->setEditText(line.visitDestination);
    if (line.visitSuggested)
        ShowSuggestion(true);

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
    // The card's fare stays; one it did not hold is the user's to give.
    m_fare->setEnabled(IsJourneyOfUnknownFare(m_workingCopy));
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
        m_names[i]->setText(names[i]);
    m_fare->setText(QString::number(t.fare));
    m_remarks->setText(t.remarks);
    m_visit->setEditText(t.visitDestination);
}

void CEntryEditDlg::accept()
{
    bool isNumber = false;
    const QString fareText = m_fare->text().trimmed();
    const int fare = fareText.toInt(&isNumber);
    // A fare the card did not hold may stay unknown.
    const bool stillUnknown = m_workingCopy.fareUnknown && fareText.isEmpty();
    if (!isNumber && !stillUnknown) {
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
    // A fare set to 0 leaves nothing to claim, and a fare set where there
    // was none is claimed, as a new line is; otherwise the mark stays the
    // user's own.
    if (stillUnknown) {
        // Nothing to claim until the fare is known.
    } else if (fare == 0) {
        line.applyFlag = 0;
    } else if (line.fare == 0) {
        line.applyFlag = 1;
    }
    if (!stillUnknown) {
        line.fare = fare;
        line.fareUnknown = false;
    }
    line.remarks = m_remarks->text();
    line.visitDestination = m_visit->currentText();
    // What the user saw and accepted is theirs now, suggested or not.
    line.visitSuggested = false;
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
            m_names[i]->setText(now[i]);
        }
    }
}

QLineEdit* CEntryEditDlg::AddLimit(QLineEdit* edit, int limit, const QString& field,
                                   const QString& unit, bool counter)
{
    auto* textLimit = new TextLimit(*edit, limit, counter ? this : nullptr);
    // A change that fits takes the last refusal's message away.
    connect(textLimit, &TextLimit::Accepted, m_notice, &RefusalNotice::Clear);
    connect(textLimit, &TextLimit::Refused, this,
            [this, edit, field, limit, unit](const QString& text) {
                m_notice->Refused(edit, text, [&](const QString& refused) {
                    return RefusedText(field, limit, unit, refused);
                });
            });
    m_limits.push_back(textLimit);
    return edit;
}

QWidget* CEntryEditDlg::WithCounter(QWidget* field, const QLineEdit* edit)
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(field, 1);
    layout->addWidget(CounterOf(edit));
    return row;
}

QLabel* CEntryEditDlg::CounterOf(const QLineEdit* edit) const
{
    for (const TextLimit* limit : m_limits)
        if (limit->parent() == edit)
            return limit->Counter();
    return nullptr;
}

QString CEntryEditDlg::RefusedText(const QString& field, int limit, const QString& unit,
                                   const QString& refused)
{
    QString quoted = refused;
    if (TextLimit::Length(quoted) > kQuotedLength) {
        qsizetype cut = 0;
        for (int n = 0; n < kQuotedLength; ++n)
            cut += quoted[cut].isHighSurrogate() ? 2 : 1;
        quoted = quoted.left(cut) + QStringLiteral("…");
    }
    return QStringLiteral("%1は%2%3までです。「%4」は入力されていません。")
        .arg(field)
        .arg(limit)
        .arg(unit, quoted);
}

QString CEntryEditDlg::ClaimedNote(const QDate& day)
{
    return QStringLiteral("%1 に申請済みの明細です。\n申請した日付・駅名・運賃は変更できません"
                          "（訪問先と備考は変更できます）。")
        .arg(day.toString(QStringLiteral("yyyy/MM/dd")));
}

void CEntryEditDlg::SetClaimedOn(const QDate& day)
{
    const QString note = ClaimedNote(day);
    m_claimed->setText(note);
    m_claimed->show();
    QWidget* fixed[] = {m_date,     m_names[0], m_names[1], m_names[2],
                        m_names[3], m_names[4], m_names[5], m_fare};
    for (QWidget* field : fixed) {
        field->setEnabled(false);
        field->setToolTip(note);
    }
    FocusFirstField();
}

QString CEntryEditDlg::UnknownFareNote()
{
    return QStringLiteral("この利用の運賃はカードに残っていません。わかる場合は入力してください"
                          "（入力すると申請できます）。");
}

QString CEntryEditDlg::SuggestionNote()
{
    return QStringLiteral("訪問先は以前この駅で入力したものからの候補です。OK で確定します。");
}

void CEntryEditDlg::ShowSuggestion(bool suggested)
{
    m_suggestion->setVisible(suggested);
    QLineEdit* edit = m_visit->lineEdit();
    QFont font = edit->font();
    font.setItalic(suggested);
    edit->setFont(font);
    QPalette grey = m_visit->palette();
    grey.setColor(QPalette::Text, grey.color(QPalette::PlaceholderText));
    // An empty palette gives the edit back its combo box's colours.
    edit->setPalette(suggested ? grey : QPalette());
    if (suggested) {
        // Typing over it makes it the user's own text.
        connect(
            edit, &QLineEdit::textEdited, this, [this] { ShowSuggestion(false); },
            Qt::SingleShotConnection);
        connect(
            m_visit, &QComboBox::activated, this, [this] { ShowSuggestion(false); },
            Qt::SingleShotConnection);
    }
}
