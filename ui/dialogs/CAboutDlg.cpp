#include "CAboutDlg.h"

#include "ProductVersion.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Fenwir Liteのバージョン情報"));
    auto* layout = new QGridLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon::fromTheme(QStringLiteral("fenwir-lite")).pixmap(48, 48));
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(new QLabel(QStringLiteral("非接触ICカード交通費精算書作成システム"), this), 0,
                      1);
    auto* version = new QLabel(VersionText(), this);
    version->setObjectName(QStringLiteral("version"));
    version->setTextFormat(Qt::PlainText);
    layout->addWidget(version, 1, 1);
    auto* notice = new QLabel(
        QStringLiteral("Qt %1 で動作しています。<br>"
                       "このプログラムはフリーソフトウェアです。GNU General Public License "
                       "バージョン 3 以降 (GPL-3.0-or-later) の下で再配布・改変できます。<br>"
                       "駅名データ: IC SFCard Fan と nfc-felica プロジェクトの駅コード表 "
                       "(FareBot 収録、GPL-3.0-or-later)。<br>"
                       "<a href=\"https://www.gnu.org/licenses/gpl-3.0.html\">GPL-3.0 の全文</a>")
            .arg(QString::fromLatin1(qVersion())),
        this);
    notice->setWordWrap(true);
    notice->setOpenExternalLinks(true);
    notice->setMinimumWidth(380);
    layout->addWidget(notice, 2, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons, 3, 0, 1, 2);
}

QString CAboutDlg::VersionText()
{
    return QStringLiteral("Fenwir Lite Version %1").arg(GetProductVersion());
}
