#pragma once

#include <QTimer>
#include <QWidget>

// A card held over a reader with waves coming from it, in a loop: what the
// detection dialog shows while it waits.
class WaitAnimation : public QWidget
{
public:
    explicit WaitAnimation(QWidget* parent = nullptr);

    void Start();
    void Stop();
    bool IsRunning() const { return m_timer.isActive(); }
    QSize sizeHint() const override { return {96, 64}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer m_timer;
    int m_frame = 0;
};
