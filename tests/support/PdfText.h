#pragma once

#include <QString>

// A PDF's text as pdftotext reads it, which is what a search of an archive
// finds; empty when it cannot be read.
QString PdfText(const QString& pdf);
// Whether this system has pdftotext (Windows has not).
bool CanReadPdfText();
