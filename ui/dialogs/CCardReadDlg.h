#pragma once

#include "CardWaitDialog.h"

#include <QDialog>
#include <QTimer>

class CardDetector;
class QLabel;
class QPushButton;
class WaitAnimation;

// The detection dialog: what to do, an animation while it waits for a card,
// the status text and the seconds left, and on failure the stop icon, the
// message and "OK". It opens centred on the window it belongs to. The
// waiting itself is CardDetector's; this only shows it and runs its timer.
class CCardReadDlg : public QDialog, public CardWaitDialog
{
    Q_OBJECT

public:
    explicit CCardReadDlg(QWidget* parent = nullptr);

    bool Run(CardDetector& detector) override;
    void ShowStatus(const QString& text) override;
    void ShowSecondsLeft(int seconds) override;
    void ShowFailure(const QString& text) override;
    void StartTimer(int milliseconds) override;
    void StopTimer() override;
    void Accept() override;

    bool InFailureState() const { return m_failed; }
    QPushButton* Button() const { return m_button; }
    QString StatusText() const;
    QString FailureText() const;
    QString CountdownText() const;
    QString InstructionText() const;

    static QString SecondsLeftText(int seconds);

    void reject() override;

Q_SIGNALS:
    // The wait has ended without a card; the dialog stays open until closed.
    void Failed();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setFrameShape();
    void CentreOnOwner();

    CardDetector* m_detector = nullptr;
    QTimer m_timer;
    WaitAnimation* m_animation = nullptr;
    QLabel* m_instruction = nullptr;
    QLabel* m_icon = nullptr;
    QLabel* m_message = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_countdown = nullptr;
    QPushButton* m_button = nullptr;
    bool m_failed = false;
};
