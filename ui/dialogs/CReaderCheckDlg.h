#pragma once

#include <QDialog>

class QPlainTextEdit;
struct ReaderEnvironment;

// ヘルプ → カードリーダーの確認: every reader attached and how a read would
// use it, or why not, as ReaderSurvey finds them; 再確認 looks again (after
// the user has plugged a reader in or laid a card down).
class CReaderCheckDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CReaderCheckDlg(ReaderEnvironment& environment, QWidget* parent = nullptr);

    QString Text() const;
    void Refresh();

private:
    ReaderEnvironment& m_environment;
    QPlainTextEdit* m_text = nullptr;
};
