#include "ApplicationSearch.h"

#include "TextFormat.h"

#include <algorithm>

bool ApplicationSearch::Matches(const AppliedLines::Application& application) const
{
    const std::int64_t printed = application.printed.toSecsSinceEpoch();
    if (printed < from || printed >= until)
        return false;
    if ((minAmount && application.amount < *minAmount) ||
        (maxAmount && application.amount > *maxAmount))
        return false;
    const QString wanted = text.trimmed();
    return wanted.isEmpty() ||
           std::any_of(application.texts.cbegin(), application.texts.cend(),
                       [&](const QString& t) { return t.contains(wanted, Qt::CaseInsensitive); });
}

std::vector<AppliedLines::Application>
ApplicationSearch::Filter(const std::vector<AppliedLines::Application>& applications) const
{
    std::vector<AppliedLines::Application> matches;
    std::copy_if(applications.begin(), applications.end(), std::back_inserter(matches),
                 [this](const AppliedLines::Application& a) { return Matches(a); });
    return matches;
}

ApplicationSearch::Summary
ApplicationSearch::Summarize(const std::vector<AppliedLines::Application>& applications)
{
    Summary summary;
    for (const auto& application : applications) {
        ++summary.count;
        if (application.cancelled.isValid())
            ++summary.cancelled;
        else
            summary.total += application.amount;
    }
    return summary;
}

QString ApplicationSearch::SummaryText(const Summary& summary)
{
    QString text =
        QStringLiteral("該当 %1件　合計 %2円").arg(summary.count).arg(FormatYen(summary.total));
    if (summary.cancelled > 0)
        text += QStringLiteral("（取消 %1件を除く）").arg(summary.cancelled);
    return text;
}
