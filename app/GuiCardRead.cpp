#include "GuiCardRead.h"

#include "AppSettings.h"
#include "CCardReadDlg.h"
#include "StatusPanes.h"

#include <QApplication>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

GuiCardRead::GuiCardRead(StatusPanes& panes, const AppSettings& settings, QWidget* window)
    : m_panes(panes), m_settings(settings), m_window(window)
{
}

GuiCardRead::~GuiCardRead()
{
    if (m_waitCursor)
        QApplication::restoreOverrideCursor();
}

void GuiCardRead::ShowCardStatus(const QString& idm, std::int32_t balance)
{
    m_panes.ShowCardStatus(idm, balance);
}

std::pair<QString, QString> GuiCardRead::CardPaneTexts() const
{
    return {m_panes.CardText(), m_panes.BalanceText()};
}

void GuiCardRead::SetCardPaneTexts(const QString& card, const QString& balance)
{
    m_panes.SetCardPaneTexts(card, balance);
}

CardWaitDialog* GuiCardRead::WaitDialog()
{
    m_dialog = std::make_unique<CCardReadDlg>(m_window);
    return m_dialog.get();
}

void GuiCardRead::CardWasRead()
{
    // The sound plays when the setting names a playable file; silence else.
    const QString sound = m_settings.WavCardReadOK;
    if (!sound.isEmpty() && QFileInfo(sound).isFile()) {
        auto* effect = new QSoundEffect(qApp);
        QObject::connect(effect, &QSoundEffect::playingChanged, effect, [effect] {
            if (!effect->isPlaying())
                effect->deleteLater();
        });
        QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect] {
            if (effect->status() == QSoundEffect::Error)
                effect->deleteLater();
        });
        effect->setSource(QUrl::fromLocalFile(sound));
        effect->play();
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_waitCursor = true;
}
