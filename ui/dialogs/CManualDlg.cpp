#include "CManualDlg.h"

#include "Folders.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

CManualDlg::CManualDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Fenwir Lite 使い方"));
    setObjectName(QStringLiteral("manual"));
    auto* layout = new QVBoxLayout(this);
    m_browser = new QTextBrowser(this);
    m_browser->setOpenExternalLinks(true);
    QFile file(ManualPath());
    if (file.open(QIODevice::ReadOnly)) {
        m_browser->setSearchPaths({GetModuleFolder()});
        m_browser->setHtml(QString::fromUtf8(file.readAll()));
    } else {
        m_browser->setPlainText(
            QStringLiteral("使い方のファイル %1 が見つかりません。プログラムを入れ直してください。")
                .arg(ManualPath()));
    }
    layout->addWidget(m_browser, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("閉じる"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    layout->addWidget(buttons);
    // Readable at once, and never taller or wider than the screen.
    QSize size(760, 640);
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() - QSize(40, 80));
    resize(size);
}

QString CManualDlg::ManualPath()
{
    return JoinPath(GetModuleFolder(), QStringLiteral("manual.html"));
}

QString CManualDlg::Text() const
{
    return m_browser->toPlainText();
}
