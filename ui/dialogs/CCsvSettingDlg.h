#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QListWidget;
class QToolButton;

// The CSV columns to write and their order, and the two CSV options, on
// copies of the settings; the caller takes them back on OK.
class CCsvSettingDlg : public QDialog
{
    Q_OBJECT

public:
    struct Choices {
        QString outputItem; // CsvOutputItem: "2,5,8,9,11,12"
        bool applyOnly = false;
        bool header = true;
    };

    explicit CCsvSettingDlg(const Choices& choices, QWidget* parent = nullptr);

    Choices Result() const { return m_choices; }
    QListWidget& List() const { return *m_list; }
    QToolButton& UpButton() const { return *m_up; }
    QToolButton& DownButton() const { return *m_down; }

    void MoveUp();
    void MoveDown();
    void accept() override;

    // The ticked column ids of a list's items in order, "9,2,5"; empty for none.
    static QString OutputItemOf(const QListWidget& list);

private:
    void Fill();
    void Move(int offset);

    Choices m_choices;
    QListWidget* m_list = nullptr;
    QToolButton* m_up = nullptr;
    QToolButton* m_down = nullptr;
    QCheckBox* m_applyOnly = nullptr;
    QCheckBox* m_header = nullptr;
};
