#include "CClaimantDlg.h"

#include "OkCancelButtons.h"

#include <QDialogButtonBox>
#include <QFormLayout>
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
    const char* names[] = {"postName", "idNumber", "claimantName"};
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        m_fields[i] = new QLineEdit(claimant[i], this);
        m_fields[i]->setObjectName(QLatin1String(names[i]));
        m_fields[i]->setMinimumWidth(260);
        form->addRow(QString::fromUtf16(labels[i]), m_fields[i]);
    }
    layout->addLayout(form);
    auto* buttons = OkCancelButtons(this);
    layout->addWidget(buttons);
}

CClaimantDlg::Claimant CClaimantDlg::Result() const
{
    return {m_fields[0]->text().trimmed(), m_fields[1]->text().trimmed(),
            m_fields[2]->text().trimmed()};
}
