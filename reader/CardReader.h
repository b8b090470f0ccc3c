#pragma once

#include "CardInfo.h"
#include "ReaderSelection.h"

#include <QString>

class CardReadJob;
class CardWaitDialog;

// Selects and opens a reader, waits for a card (through the dialog when the
// polling time is above 0, else one attempt with system code 0003) and reads
// its history. On success (0) the job's card and blocks are replaced (the
// import then replaces the history rows); on any failure (-1, -2, -3, -5)
// the job is left as it was.
int ReadCard(CardReadJob& job, int pollingTime, ReaderEnvironment& environment,
             CardWaitDialog* dialog);

// The IDm as the status bar shows it: 16 upper-case hex digits.
QString FormatIdm(const CardId& idm);
