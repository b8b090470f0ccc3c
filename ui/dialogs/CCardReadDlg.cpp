#include "CCardReadDlg.h"

#include "CardDetector.h"
#include "WaitAnimation.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

CCardReadDlg::CCardReadDlg(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setWindowTitle(QStringLiteral("カード読込"));
    setObjectName(QStringLiteral("CCardReadDlg"));
    auto* layout = new QVBoxLayout(this);
    auto* body = new QHBoxLayout;
    m_animation = new WaitAnimation(this);
    m_icon = new QLabel(this);
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    m_icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(size, size));
    m_message = new QLabel(this);
    m_message->setWordWrap(true);
    m_message->setMinimumWidth(260);
    body->addWidget(m_animation, 0, Qt::AlignCenter);
    body->addWidget(m_icon, 0, Qt::AlignTop);
    body->addWidget(m_message, 1);
    layout->addLayout(body);
    m_status = new QLabel(this);
    m_status->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_status);
    m_button = new QPushButton(QStringLiteral("キャンセル"), this);
    connect(m_button, &QPushButton::clicked, this, &CCardReadDlg::reject);
    layout->addWidget(m_button, 0, Qt::AlignCenter);
    setFrameShape();
    m_icon->hide();
    m_message->hide();
    m_timer.setTimerType(Qt::CoarseTimer);
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

void CCardReadDlg::ShowFailure(const QString& text)
{
    m_failed = true;
    m_animation->Stop();
    m_animation->hide();
    m_icon->show();
    m_message->setText(text);
    m_message->show();
    m_status->clear();
    m_status->hide();
    m_button->setText(QStringLiteral("OK"));
    m_button->setFocus();
    QApplication::beep();
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
