#pragma once

#include "ClaimRules.h"

#include <QWidget>
#include <cstdint>
#include <vector>

class CCorvaneDoc;
class QLabel;

// "合 計": how many lines the list claims and their fares' sum. It follows
// each change of the claim by the lines the change touches, not by a
// recount of the whole claim.
class ClaimTotal : public QWidget
{
    Q_OBJECT

public:
    explicit ClaimTotal(CCorvaneDoc& doc, QWidget* parent = nullptr);

    // The list's filter changed: the lines it lists (positions, ascending)
    // are counted again.
    void SetFilter(const ClaimFilter& filter, const std::vector<int>& listed);

    int Count() const { return m_count; }
    std::int64_t Total() const { return m_total; }
    QLabel& Text() const { return *m_text; }

    // "4,700円"
    static QString TextFor(std::int64_t total);

Q_SIGNALS:
    // After every change of the claim or the filter.
    void Changed();

private:
    // Lines first..last going (sign -1) or coming (+1).
    void Account(int first, int last, int sign);
    void Show();

    CCorvaneDoc& m_doc;
    ClaimFilter m_filter;
    int m_count = 0;
    std::int64_t m_total = 0;
    QLabel* m_text = nullptr;
};
