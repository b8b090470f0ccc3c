#pragma once

#include <QLabel>
#include <functional>

class QLineEdit;

// The words below a dialog's fields when an input did not fit. It has its
// place from the start (two lines), so the dialog does not move or grow
// when it shows; and it quotes everything one field refused in a row, as
// fast typing refuses key by key.
class RefusalNotice : public QLabel
{
    Q_OBJECT

public:
    explicit RefusalNotice(QWidget* parent = nullptr);

    // The field refused refused; sentence words what it refused so far.
    void Refused(const QLineEdit* field, const QString& refused,
                 const std::function<QString(const QString&)>& sentence);
    // An input that fitted: the notice goes.
    void Clear();

private:
    const QLineEdit* m_field = nullptr;
    QString m_refused;
};
