#pragma once

#include "CardWaitDialog.h"

#include <QDialog>
#include <QTimer>

class CardDetector;
class QLabel;
class QPushButton;
class WaitAnimation;

// The detection dialog: an animation while it waits for a card, the status
// text, and on failure the stop icon, the message and "OK". The waiting
// itself is CardDetector's; this only shows it and runs its timer.
class CCardReadDlg : public QDialog, public CardWaitDialog
{
    Q_OBJECT

public:
    explicit CCardReadDlg(QWidget* parent = nullptr);

    bool Run(CardDetector& detector) override;
    void ShowStatus(const QString& text) override;
    void ShowFailure(const QString& text) override;
    void StartTimer(int milliseconds) override;
    void StopTimer() override;
    void Accept() override;

    bool InFailureState() const { return m_failed; }
    QPushButton* Button() const { return m_button; }
    QString StatusText() const;
    QString FailureText() const;

    void reject() override;

private:
    void setFrameShape();

    CardDetector* m_detector = nullptr;
    QTimer m_timer;
    WaitAnimation* m_animation = nullptr;
    QLabel* m_icon = nullptr;
    QLabel* m_message = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_button = nullptr;
    bool m_failed = false;
};
