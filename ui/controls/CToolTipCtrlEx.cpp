#include "CToolTipCtrlEx.h"

void CToolTipCtrlEx::AddTool(QWidget* control, const QString& label, const QString& description,
                             const QString& iconName)
{
    m_tools.push_back({control, description, iconName});
    const QString icon =
        iconName.isEmpty()
            ? QString()
            : QStringLiteral("<td><img src=\":/icons/fenwir/16x16/actions/%1.png\"></td>")
                  .arg(iconName);
    control->setToolTip(QStringLiteral("<table><tr>%1<td><b>%2</b><br>%3</td></tr></table>")
                            .arg(icon, label.toHtmlEscaped(), description.toHtmlEscaped()));
}

QString CToolTipCtrlEx::Description(const QWidget* control) const
{
    for (const Tool& tool : m_tools)
        if (tool.control == control)
            return tool.description;
    return QString();
}
