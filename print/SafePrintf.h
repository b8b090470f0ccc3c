#pragma once

#include <QString>
#include <variant>

// The printf-style formats of a layout ("%d", "%5s", "合計 %s円") applied to
// their one argument without handing the layout's text to printf: every
// conversion takes the argument (a number or a text), "%%" is a percent
// sign, and anything else stays as written.
QString SafePrintf(const QString& format, const std::variant<long long, QString>& argument);
