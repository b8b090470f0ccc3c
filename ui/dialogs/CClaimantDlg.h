#pragma once

#include <QDialog>
#include <array>

class QLineEdit;
class RefusalNotice;

// "申請者情報": the department, employee number and name printed on every
// claim. It works on copies; the caller keeps them on OK. Each field shows
// its length and limit while typed ("12/40"), and what does not fit is
// refused in words, as in the entry dialog.
class CClaimantDlg : public QDialog
{
    Q_OBJECT

public:
    // Department, number, name.
    using Claimant = std::array<QString, 3>;

    explicit CClaimantDlg(const Claimant& claimant, QWidget* parent = nullptr);

    Claimant Result() const;
    QLineEdit& Field(int index) const { return *m_fields[static_cast<std::size_t>(index)]; }
    RefusalNotice& Notice() const { return *m_notice; }
    // The most characters each field takes: department, number, name.
    static constexpr std::array<int, 3> kLimits{40, 20, 30};

private:
    std::array<QLineEdit*, 3> m_fields{};
    RefusalNotice* m_notice = nullptr;
};
