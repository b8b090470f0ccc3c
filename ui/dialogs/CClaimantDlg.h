#pragma once

#include <QDialog>
#include <array>

class QLineEdit;

// "申請者情報": the department, employee number and name printed on every
// claim. It works on copies; the caller keeps them on OK.
class CClaimantDlg : public QDialog
{
    Q_OBJECT

public:
    // Department, number, name.
    using Claimant = std::array<QString, 3>;

    explicit CClaimantDlg(const Claimant& claimant, QWidget* parent = nullptr);

    Claimant Result() const;
    QLineEdit& Field(int index) const { return *m_fields[static_cast<std::size_t>(index)]; }

private:
    std::array<QLineEdit*, 3> m_fields{};
};
