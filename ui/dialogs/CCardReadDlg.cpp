#include "CCardReadDlg.h"

#include "CardDetector.h"
#include "WaitAnimation.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

CCardReadDlg::CCardReadDlg(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setWindowTitle(QStringLiteral("カード読込"));
    setObjectName(QStringLiteral("CCardReadDlg"));
    auto* layout = new QVBoxLayout(this);
    m_instruction = new QLabel(CardDetector::InstructionText(), this);
    m_instruction->setObjectName(QStringLiteral("instruction"));
    m_instruction->setAlignment(Qt::AlignCenter);
    QFont bold = m_instruction->font();
    bold.setBold(true);
    m_instruction->setFont(bold);
    layout->addWidget(m_instruction);
    auto* body = new QHBoxLayout;
    m_animation = new WaitAnimation(this);
    m_icon = new QLabel(this);
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    m_icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(size, size));
    m_message = new QLabel(this);
    m_message->setWordWrap(true);
    m_message->setMinimumWidth(320);
    body->addWidget(m_animation, 0, Qt::AlignCenter);
    body->addWidget(m_icon, 0, Qt::AlignTop);
    body->addWidget(m_message, 1);
    layout->addLayout(body);
    m_status = new QLabel(this);
    m_status->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_status);
    m_countdown = new QLabel(this);
    m_countdown->setObjectName(QStringLiteral("countdown"));
    m_countdown->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_countdown);
    // Texts come and go while the dialog shows; it keeps its size and place.
    for (QLabel* line : {m_status, m_countdown})
        line->setMinimumHeight(line->fontMetrics().height());
    m_button = new QPushButton(QStringLiteral("キャンセル"), this);
    connect(m_button, &QPushButton::clicked, this, &CCardReadDlg::reject);
    layout->addWidget(m_button, 0, Qt::AlignCenter);
    setFrameShape();
    m_icon->hide();
    m_message->hide();
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_detector)
            m_detector->Tick();
    });
}

void CCardReadDlg::setFrameShape()
{
    // Frameless: draw our own border so the box stands out from the window.
    setStyleSheet(QStringLiteral("#CCardReadDlg { border: 1px solid palette(mid); }"));
}

QString CCardReadDlg::SecondsLeftText(int seconds)
{
    return QStringLiteral("残り %1 秒").arg(seconds);
}

void CCardReadDlg::CentreOnOwner()
{
    adjustSize();
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QRect area = owner ? owner->frameGeometry() : screen()->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

void CCardReadDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    CentreOnOwner();
}

bool CCardReadDlg::Run(CardDetector& detector)
{
    m_detector = &detector;
    m_animation->Start();
    // Open the detector once the dialog shows, so its first try is visible.
    QTimer::singleShot(0, this, [this] { m_detector->Open(); });
    const bool accepted = exec() == QDialog::Accepted;
    m_timer.stop();
    m_detector = nullptr;
    return accepted;
}

void CCardReadDlg::ShowStatus(const QString& text)
{
    m_status->setText(text);
    m_status->repaint(); // the read that follows blocks the event loop briefly
}

void CCardReadDlg::ShowSecondsLeft(int seconds)
{
    m_countdown->setText(SecondsLeftText(seconds));
}

void CCardReadDlg::ShowFailure(const QString& text)
{
    m_failed = true;
    m_animation->Stop();
    m_animation->hide();
    m_instruction->hide();
    m_countdown->hide();
    m_icon->show();
    m_message->setText(text);
    m_message->show();
    m_status->clear();
    m_status->hide();
    m_button->setText(QStringLiteral("OK"));
    m_button->setFocus();
    CentreOnOwner(); // the message makes the box larger
    QApplication::beep();
    Q_EMIT Failed();
}

void CCardReadDlg::StartTimer(int milliseconds)
{
    m_timer.start(milliseconds);
}

void CCardReadDlg::StopTimer()
{
    m_timer.stop();
}

void CCardReadDlg::Accept()
{
    accept();
}

void CCardReadDlg::reject()
{
    m_timer.stop();
    if (m_detector)
        m_detector->Cancel();
    QDialog::reject();
}

QString CCardReadDlg::StatusText() const
{
    return m_status->text();
}

QString CCardReadDlg::FailureText() const
{
    return m_message->text();
}

QString CCardReadDlg::CountdownText() const
{
    return m_countdown->isHidden() ? QString() : m_countdown->text();
}

QString CCardReadDlg::InstructionText() const
{
    return m_instruction->isHidden() ? QString() : m_instruction->text();
}
