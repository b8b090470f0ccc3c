#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QComboBox;
class QLayout;
class QListWidget;
class QToolButton;
class QVBoxLayout;

// The CSV layout (the chosen columns in their order, or the card history),
// the encoding and the options, on copies of the settings; the caller takes
// them back on OK.
class CCsvSettingDlg : public QDialog
{
    Q_OBJECT

public:
    struct Choices {
        QString outputItem; // CsvOutputItem: "2,5,8,9,11,12"
        bool applyOnly = false;
        bool header = true;
        bool history = false;    // CsvProfile: the card history layout
        bool utf8 = false;       // CsvEncoding: UTF-8 with a byte-order mark
        bool showCardId = false; // CsvShowCardId
    };

    explicit CCsvSettingDlg(const Choices& choices, QWidget* parent = nullptr);

    Choices Result() const { return m_choices; }
    QListWidget& List() const { return *m_list; }
    QToolButton& UpButton() const { return *m_up; }
    QToolButton& DownButton() const { return *m_down; }
    QComboBox& Profile() const { return *m_profile; }
    QComboBox& Encoding() const { return *m_encoding; }
    QCheckBox& ShowCardId() const { return *m_showCardId; }

    void MoveUp();
    void MoveDown();
    void accept() override;

    // The ticked column ids of a list's items in order, "9,2,5"; empty for none.
    static QString OutputItemOf(const QListWidget& list);

private:
    QLayout* MakeFormatChoices();
    QLayout* MakeColumnList();
    void AddOptions(QVBoxLayout& layout);
    void Fill();
    void Move(int offset);
    // The card history layout has its own columns, header and encoding.
    void EnableForProfile();

    Choices m_choices;
    QListWidget* m_list = nullptr;
    QToolButton* m_up = nullptr;
    QToolButton* m_down = nullptr;
    QCheckBox* m_applyOnly = nullptr;
    QCheckBox* m_header = nullptr;
    QComboBox* m_profile = nullptr;
    QComboBox* m_encoding = nullptr;
    int m_columnsEncoding = 0; // the encoding chosen for the columns layout
    QCheckBox* m_showCardId = nullptr;
};
