#include "CCancelReasonDlg.h"

#include "CEntryEditDlg.h"
#include "RefusalNotice.h"
#include "TextLimit.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CCancelReasonDlg::CCancelReasonDlg(const QString& description, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("申請の取消"));
    auto* layout = new QVBoxLayout(this);
    auto* what = new QLabel(QStringLiteral("この申請を取り消します。\n\n%1\n\n取り消した申請は"
                                           "申請履歴に残り、その明細は申請済みではなくなります。")
                                .arg(description),
                            this);
    what->setWordWrap(true);
    layout->addWidget(what);
    auto* label = new QLabel(QStringLiteral("取消の理由(&R)（必須）:"), this);
    layout->addWidget(label);
    m_reason = new QLineEdit(this);
    m_reason->setObjectName(QStringLiteral("cancelReason"));
    m_reason->setMinimumWidth(360);
    label->setBuddy(m_reason);
    m_notice = new RefusalNotice(this);
    auto* limit = new TextLimit(*m_reason, kLimit, this);
    connect(limit, &TextLimit::Accepted, m_notice, &RefusalNotice::Clear);
    connect(limit, &TextLimit::Refused, this, [this](const QString& text) {
        m_notice->Refused(m_reason, text, [](const QString& refused) {
            return CEntryEditDlg::RefusedText(QStringLiteral("取消の理由"), kLimit,
                                              QStringLiteral("文字"), refused);
        });
    });
    auto* row = new QHBoxLayout;
    row->addWidget(m_reason, 1);
    row->addWidget(limit->Counter());
    layout->addLayout(row);
    layout->addWidget(m_notice);
    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QStringLiteral("取り消す"), QDialogButtonBox::AcceptRole);
    m_ok->setObjectName(QStringLiteral("confirmCancel"));
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    const auto update = [this] { m_ok->setEnabled(!Reason().isEmpty()); };
    connect(m_reason, &QLineEdit::textChanged, this, update);
    update();
    layout->addWidget(buttons);
}

QString CCancelReasonDlg::Reason() const
{
    return m_reason->text().trimmed();
}
