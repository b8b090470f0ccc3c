#include "WidgetPrompts.h"

#include "FileDatesProxy.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QMessageBox>

Prompts::Answer WidgetPrompts::Ask(const QString& text, Icon icon, Buttons buttons)
{
    return Show(text, QString(), icon, buttons);
}

void WidgetPrompts::ReportWithDetails(int, const QString& text, const QString& details, Icon icon)
{
    Show(text, details, icon, Buttons::Ok);
}

Prompts::Answer WidgetPrompts::Show(const QString& text, const QString& details, Icon icon,
                                    Buttons buttons)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(Title());
    box.setText(text);
    box.setDetailedText(details);
    switch (icon) {
    case Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Stop:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        // Deleting, claiming again: Enter alone does nothing that cannot wait.
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    const auto name = [&box](QMessageBox::StandardButton which, const QString& text) {
        if (QAbstractButton* button = box.button(which))
            button->setText(text);
    };
    name(QMessageBox::Yes, QStringLiteral("はい(&Y)"));
    name(QMessageBox::No, QStringLiteral("いいえ(&N)"));
    name(QMessageBox::Cancel, QStringLiteral("キャンセル"));
    name(QMessageBox::Ok, QStringLiteral("OK"));
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

QString WidgetPrompts::SaveFileName(const QString& title, const QString& proposal,
                                    const QString& filter, const QString& defaultSuffix)
{
    QFileDialog dialog(m_parent, title, proposal, filter);
    FileDatesProxy::ShowIn(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(proposal);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString WidgetPrompts::OpenFileName(const QString& title, const QString& folder,
                                    const QStringList& filters)
{
    QFileDialog dialog(m_parent, title, folder);
    FileDatesProxy::ShowIn(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}
