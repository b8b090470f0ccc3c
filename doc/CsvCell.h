#pragma once

#include <QString>

// What a CSV cell of free text holds. A spreadsheet reads a cell that starts
// with "=", "+", "-", "@", a tab or a CR as a formula and runs it when the
// file is opened; such a text gets a leading apostrophe, which spreadsheets
// take as "text follows". Amounts are numbers, not text, and stay as they are.
namespace CsvCell
{
QString InertText(const QString& text);
} // namespace CsvCell
