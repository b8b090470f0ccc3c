#pragma once

#include <QObject>

class QWidget;

// Keeps the program's dialogs whole on the screen: a dialog that grows (the
// print dialog's オプション, a notice) or opens partly off the screen is
// moved back onto it, and made smaller when it is taller or wider than the
// screen, so its buttons stay in reach at any scale.
class ScreenFit : public QObject
{
    Q_OBJECT

public:
    // For every dialog of the application.
    static void Install();
    // Moves (and if need be shrinks) the window into its screen's free area.
    static void Fit(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};
