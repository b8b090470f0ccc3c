#include "ClaimTotal.h"

#include "CCorvaneDoc.h"
#include "TextFormat.h"

#include <QHBoxLayout>
#include <QLabel>

ClaimTotal::ClaimTotal(CCorvaneDoc& doc, QWidget* parent) : QWidget(parent), m_doc(doc)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(QStringLiteral("合 計"), this));
    m_text = new QLabel(TextFor(0), this);
    m_text->setObjectName(QStringLiteral("total"));
    row->addWidget(m_text);
    connect(&m_doc, &CCorvaneDoc::LinesAboutToBeRemoved, this,
            [this](int first, int last) { Account(first, last, -1); });
    connect(&m_doc, &CCorvaneDoc::LinesAboutToBeChanged, this,
            [this](int first, int last) { Account(first, last, -1); });
    connect(&m_doc, &CCorvaneDoc::LinesInserted, this,
            [this](int first, int last) { Account(first, last, +1); });
    connect(&m_doc, &CCorvaneDoc::LinesChanged, this,
            [this](int first, int last) { Account(first, last, +1); });
    connect(&m_doc, &CCorvaneDoc::LinesEdited, this, &ClaimTotal::Show);
}

QString ClaimTotal::TextFor(std::int64_t total)
{
    return FormatAmount(total) + QStringLiteral("円");
}

void ClaimTotal::SetFilter(const ClaimFilter& filter, const std::vector<int>& listed)
{
    m_filter = filter;
    const ClaimSummary claim = SummarizeListed(m_doc.Lines(), listed);
    m_count = static_cast<int>(claim.lines);
    m_total = claim.total;
    Show();
}

void ClaimTotal::Account(int first, int last, int sign)
{
    const auto& lines = m_doc.Lines();
    for (int position = first; position <= last; ++position) {
        const EntryInfo& line = *lines[static_cast<std::size_t>(position)];
        if (IsClaimed(line, m_filter)) {
            m_count += sign;
            m_total += sign * static_cast<std::int64_t>(line.fare);
        }
    }
}

void ClaimTotal::Show()
{
    m_text->setText(TextFor(m_total));
    Q_EMIT Changed();
}
