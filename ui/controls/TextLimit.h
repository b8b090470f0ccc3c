#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QLineEdit;
class QWidget;

// Keeps a line edit to a number of characters and shows it. A counter
// ("12/30") beside the field shows while the field has the focus and
// whenever it is full; a user's input that would go beyond the limit, typed,
// pasted, dropped or composed with an input method, is taken back whole and
// reported through Refused, never cut short unseen. A longer text set by the
// program (a line of an older file) stays whole: it may shrink, not grow.
class TextLimit : public QObject
{
    Q_OBJECT

public:
    // The counter is made as a child of counterParent, for the caller to lay
    // out; no counter without one.
    TextLimit(QLineEdit& edit, int limit, QWidget* counterParent);

    QLabel* Counter() const { return m_counter; }
    int Limit() const { return m_limit; }
    // Characters as the user sees them: a character outside the BMP (𠮷) is one.
    static int Length(const QString& text);
    // What an edit from before to after inserted: the part of after that differs.
    static QString Inserted(const QString& before, const QString& after);

Q_SIGNALS:
    // A user's input was taken back; refused is what it would have inserted.
    void Refused(const QString& refused);
    // A user's change fitted and was kept.
    void Accepted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CheckEdit(const QString& text);
    void ShowCount();
    bool HasFocus() const;

    QLineEdit& m_edit;
    int m_limit;
    QLabel* m_counter = nullptr;
    QString m_current; // the field's text
    QString m_before;  // and before its last change
};
