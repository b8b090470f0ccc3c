#pragma once

#include "PrintFormat.h"

// The program's own claim form on A4 portrait: title, application date,
// claimant fields, two approval stamps, the table of lines with filler rows
// and its sums, the total amount and the page number.
PrintFormat DefaultLayout();
