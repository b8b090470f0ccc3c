#include "CReaderCheckDlg.h"

#include "ReaderSurvey.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

CReaderCheckDlg::CReaderCheckDlg(ReaderEnvironment& environment, QWidget* parent)
    : QDialog(parent), m_environment(environment)
{
    setWindowTitle(QStringLiteral("カードリーダーの確認"));
    setObjectName(QStringLiteral("CReaderCheckDlg"));
    auto* layout = new QVBoxLayout(this);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("survey"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_text->setMinimumSize(560, 300);
    layout->addWidget(m_text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("閉じる"));
    QPushButton* again =
        buttons->addButton(QStringLiteral("再確認(&R)"), QDialogButtonBox::ActionRole);
    again->setObjectName(QStringLiteral("refresh"));
    connect(again, &QPushButton::clicked, this, &CReaderCheckDlg::Refresh);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    Refresh();
}

void CReaderCheckDlg::Refresh()
{
    // Asking the readers takes a moment; the window says so meanwhile.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_text->setPlainText(ReaderSurvey::Take(m_environment).Text());
    QApplication::restoreOverrideCursor();
}

QString CReaderCheckDlg::Text() const
{
    return m_text->toPlainText();
}
