#include "AppLook.h"

#include "DarkLookStyle.h"

#include <QApplication>
#include <QFontDatabase>
#include <QPalette>
#include <QStyleFactory>

namespace
{
QPalette Tinted(QColor window, QColor button, QColor highlight, QColor base = Qt::white,
                QColor text = Qt::black)
{
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::Button, button);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window.lighter(104));
    palette.setColor(QPalette::Highlight, highlight);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Midlight, window.lighter(106));
    palette.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
    palette.setColor(QPalette::ToolTipText, Qt::black);
    palette.setColor(QPalette::Link, highlight.darker(110));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(128, 128, 128));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(128, 128, 128));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
    return palette;
}

QPalette Dark()
{
    QPalette palette = Tinted(QColor(58, 60, 64), QColor(70, 72, 78), QColor(86, 140, 200),
                              QColor(40, 42, 46), QColor(230, 230, 230));
    palette.setColor(QPalette::Midlight, QColor(50, 52, 56));
    palette.setColor(QPalette::Link, QColor(130, 180, 240));
    // Grid lines and box edges that show on the dark list.
    palette.setColor(QPalette::Mid, QColor(96, 100, 108));
    palette.setColor(QPalette::Light, QColor(150, 154, 160));
    palette.setColor(QPalette::PlaceholderText, QColor(150, 154, 160));
    return palette;
}
} // namespace

void AppLook::UseJapaneseFont(QApplication& app)
{
    const QString japanese = QStringLiteral("Noto Sans CJK JP");
    QFont font = app.font();
    if (QFontDatabase::writingSystems(font.family()).contains(QFontDatabase::Japanese) ||
        !QFontDatabase::hasFamily(japanese))
        return;
    font.setFamily(japanese);
    app.setFont(font);
}

void AppLook::Apply(QApplication& app, int look)
{
    if (look == 32798)
        return; // the desktop's own style and colours
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    switch (look) {
    case 32796: // classic
        app.setPalette(Tinted(QColor(212, 208, 200), QColor(212, 208, 200), QColor(10, 36, 106)));
        break;
    case 32797: // Office XP
        app.setPalette(Tinted(QColor(240, 238, 235), QColor(246, 245, 243), QColor(49, 106, 197)));
        break;
    case 32799: // Office 2003
        app.setPalette(Tinted(QColor(220, 232, 250), QColor(232, 240, 252), QColor(49, 106, 197)));
        break;
    case 32800: // Visual Studio 2005
        app.setPalette(Tinted(QColor(238, 237, 229), QColor(245, 244, 238), QColor(51, 153, 255)));
        break;
    case 32802: // black
        app.setStyle(new DarkLookStyle);
        app.setPalette(Dark());
        break;
    case 32803: // silver
        app.setPalette(Tinted(QColor(228, 230, 234), QColor(238, 240, 243), QColor(96, 112, 140)));
        break;
    case 32804: // aqua
        app.setPalette(Tinted(QColor(220, 238, 242), QColor(232, 245, 248), QColor(40, 140, 170)));
        break;
    case 32801: // blue, the default
        app.setPalette(Tinted(QColor(223, 234, 247), QColor(235, 242, 251), QColor(51, 120, 205)));
        break;
    default: // the desktop's colours on the same style
        break;
    }
}
