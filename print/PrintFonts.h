#pragma once

#include "PdfTextLayer.h"

#include <QString>
#include <QStringList>

// The font claims are printed with, kept beside the programs: Noto Sans CJK JP
// whose character map gives PDFs a correct text layer (日 stays 日).
namespace PrintFonts
{
inline const QString kFamily = QStringLiteral("Fenwir Print Sans");

// Makes the print font known to Qt, once per process; without the files the
// system's fonts are used.
void Register();
// The families to ask for a layout's face: the face, then the print font for
// what it lacks; the print font first for the face it was made from.
QStringList FamiliesFor(const QString& face);
// The print font's Private Use codes for characters beyond the BMP (both
// styles give them alike); empty without the font.
PdfTextLayer::Aliases Aliases();
} // namespace PrintFonts
