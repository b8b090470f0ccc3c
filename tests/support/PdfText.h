#pragma once

#include <QString>
#include <QStringList>

// A PDF's text as pdftotext reads it, which is what a search of an archive
// finds; empty when it cannot be read.
QString PdfText(const QString& pdf);
// The names of the fonts a PDF embeds, as pdffonts lists them.
QStringList PdfFonts(const QString& pdf);
// Whether this system has pdftotext (Windows has not).
bool CanReadPdfText();
