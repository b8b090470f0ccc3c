#include "GuiCardRead.h"

#include "AppSettings.h"
#include "CCardReadDlg.h"
#include "Folders.h"
#include "StatusPanes.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibrary>

GuiCardRead::GuiCardRead(StatusPanes& panes, const AppSettings& settings, QWidget* window)
    : m_panes(panes), m_settings(settings), m_window(window),
      m_before(panes.CardText(), panes.BalanceText())
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
    // The dialog's failure state waits for the user; the panes need not.
    QObject::connect(m_dialog.get(), &CCardReadDlg::Failed, m_dialog.get(),
                     [this] { m_panes.SetCardPaneTexts(m_before.first, m_before.second); });
    return m_dialog.get();
}

void GuiCardRead::CardWasRead()
{
    // The sound plays when the setting names a playable file; silence else.
    const QString sound = m_settings.WavCardReadOK;
    if (!sound.isEmpty() && QFileInfo(sound).isFile()) {
        using Play = void (*)(const char16_t*);
        QLibrary module(JoinPath(GetModuleFolder(), QStringLiteral("fenwir-sound")));
        if (const auto play = reinterpret_cast<Play>(module.resolve("fenwir_play_sound")))
            play(reinterpret_cast<const char16_t*>(sound.utf16()));
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_waitCursor = true;
}
