#include "ScreenFit.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <algorithm>

void ScreenFit::Install()
{
    qApp->installEventFilter(new ScreenFit(qApp));
}

void ScreenFit::Fit(QWidget& window)
{
    const QScreen* screen = window.screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect frame = window.frameGeometry();
    // The window manager's frame stays around what is resized.
    const QSize border = frame.size() - window.size();
    const QSize most = area.size() - border;
    if (window.width() > most.width() || window.height() > most.height()) {
        window.resize(std::max(window.minimumWidth(), std::min(window.width(), most.width())),
                      std::max(window.minimumHeight(), std::min(window.height(), most.height())));
        frame = window.frameGeometry();
    }
    const int x = std::clamp(frame.left(), area.left(),
                             std::max(area.left(), area.right() + 1 - frame.width()));
    const int y = std::clamp(frame.top(), area.top(),
                             std::max(area.top(), area.bottom() + 1 - frame.height()));
    if (x != frame.left() || y != frame.top())
        window.move(x, y);
}

bool ScreenFit::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Show && event->type() != QEvent::Resize)
        return false;
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (!dialog || !dialog->isWindow())
        return false;
    // After the layout and the window manager have placed it.
    QTimer::singleShot(0, dialog, [dialog = QPointer<QDialog>(dialog)] {
        if (dialog && dialog->isVisible())
            Fit(*dialog);
    });
    return false;
}
