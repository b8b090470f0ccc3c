#pragma once

#include "EntryInfo.h"

// The card import names each new trip's visit destination after the one
// remembered for its exit station. Only a trip the user claims (ticked as it
// arrives) keeps it, as a suggestion for the user to confirm; a trip left
// unticked, perhaps a private one, is not told where the user went.
// Returns how many lines were given a suggestion.
int OfferVisitSuggestions(EntryLines& added);
