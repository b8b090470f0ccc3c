#pragma once

#include "Prompts.h"

class QWidget;

// The prompts as Qt's message boxes and file dialogs over a parent window.
class WidgetPrompts : public Prompts
{
public:
    explicit WidgetPrompts(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }

    Answer Ask(const QString& text, Icon icon, Buttons buttons) override;
    // The details behind the box's 詳細 button.
    void ReportWithDetails(int id, const QString& text, const QString& details, Icon icon) override;
    QString SaveFileName(const QString& title, const QString& proposal, const QString& filter,
                         const QString& defaultSuffix) override;
    QString OpenFileName(const QString& title, const QString& folder,
                         const QStringList& filters) override;

    static QString Title() { return QStringLiteral("Fenwir Lite"); }

private:
    Answer Show(const QString& text, const QString& details, Icon icon, Buttons buttons);

    QWidget* m_parent;
};
