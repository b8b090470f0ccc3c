#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class RefusalNotice;

// "申請の取消": why an application is taken back. The reason is required
// and holds up to kLimit characters; 取り消す stays off while it is empty.
class CCancelReasonDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kLimit = 100;

    // description names the application ("2026/11/30 09:15 印刷、…").
    explicit CCancelReasonDlg(const QString& description, QWidget* parent = nullptr);

    QString Reason() const;
    QLineEdit& Field() const { return *m_reason; }
    QPushButton& OkButton() const { return *m_ok; }
    RefusalNotice& Notice() const { return *m_notice; }

private:
    QLineEdit* m_reason = nullptr;
    QPushButton* m_ok = nullptr;
    RefusalNotice* m_notice = nullptr;
};
