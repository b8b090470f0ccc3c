#pragma once

#include <QObject>
#include <QString>
#include <QWidget>
#include <vector>

// Tooltips with a label, a description and a small picture for registered
// controls (the CSV settings dialog's up and down buttons).
class CToolTipCtrlEx : public QObject
{
public:
    explicit CToolTipCtrlEx(QObject* parent = nullptr) : QObject(parent) {}

    // The control shows the label in bold, the description under it and,
    // unless iconName is empty, the icon of that name (16 × 16) beside them.
    void AddTool(QWidget* control, const QString& label, const QString& description,
                 const QString& iconName);

    // The description registered for a control, or empty.
    QString Description(const QWidget* control) const;

private:
    struct Tool {
        const QWidget* control;
        QString description;
        QString iconName;
    };
    std::vector<Tool> m_tools;
};
