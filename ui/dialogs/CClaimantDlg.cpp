#include "CClaimantDlg.h"

#include "CEntryEditDlg.h"
#include "OkCancelButtons.h"
#include "RefusalNotice.h"
#include "TextLimit.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CClaimantDlg::CClaimantDlg(const Claimant& claimant, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("申請者情報"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("交通費精算書に印刷する申請者です。"), this));
    auto* form = new QFormLayout;
    const char16_t* labels[] = {u"所属(&D)", u"社員番号(&N)", u"氏名(&M)"};
    const char16_t* fields[] = {u"所属", u"社員番号", u"氏名"};
    const char* names[] = {"postName", "idNumber", "claimantName"};
    m_notice = new RefusalNotice(this);
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        m_fields[i] = new QLineEdit(claimant[i], this);
        m_fields[i]->setObjectName(QLatin1String(names[i]));
        m_fields[i]->setMinimumWidth(260);
        auto* limit = new TextLimit(*m_fields[i], kLimits[i], this);
        const QString field = QString::fromUtf16(fields[i]);
        connect(limit, &TextLimit::Accepted, m_notice, &RefusalNotice::Clear);
        connect(limit, &TextLimit::Refused, this, [this, field, i](const QString& text) {
            m_notice->Refused(&Field(static_cast<int>(i)), text, [&](const QString& refused) {
                return CEntryEditDlg::RefusedText(field, kLimits[i], QStringLiteral("文字"),
                                                  refused);
            });
        });
        auto* row = new QHBoxLayout;
        row->addWidget(m_fields[i], 1);
        row->addWidget(limit->Counter());
        form->addRow(QString::fromUtf16(labels[i]), row);
    }
    layout->addLayout(form);
    layout->addWidget(m_notice);
    auto* buttons = OkCancelButtons(this);
    layout->addWidget(buttons);
}

CClaimantDlg::Claimant CClaimantDlg::Result() const
{
    return {m_fields[0]->text().trimmed(), m_fields[1]->text().trimmed(),
            m_fields[2]->text().trimmed()};
}
