#pragma once

#include "PrintFormat.h"

// The program's own claim form on A4 portrait: title, application date,
// claimant fields, two approval stamps, the table of lines with filler rows
// and its sums, the total amount and the page number.
PrintFormat DefaultLayout();

// Every text a layout draws in a bold face (weight 600 or more): its bold
// items' texts and formats, and the column headings of a bold table. The
// print font's bold style is cut to these characters.
QString BoldText(const PrintFormat& format);
