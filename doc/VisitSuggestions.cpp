#include "VisitSuggestions.h"

#include "ClaimRules.h"

int OfferVisitSuggestions(EntryLines& added)
{
    int offered = 0;
    for (const auto& line : added) {
        if (line->visitDestination.isEmpty())
            continue;
        if (line->applyFlag == 1 && CanApply(*line)) {
            line->visitSuggested = true;
            ++offered;
        } else {
            line->visitDestination.clear();
        }
    }
    return offered;
}
