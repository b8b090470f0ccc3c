#pragma once

#include "ClaimRules.h"
#include "EntryInfo.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <array>

class PrintFormat;
class PrintJob;
class QPageLayout;

// Renders the claim (the given lines marked for claiming, see ClaimedLines,
// and the period they were chosen by) through the layout into a PDF file, on
// the layout's paper and orientation. The file is written whole or not at
// all. Recording the application is the caller's decision; a claim to be
// recorded passes the number it will have, which the pages show. Needs a
// QGuiApplication (fonts).
bool RenderClaimToPdf(const PrintFormat& format, const std::vector<const EntryInfo*>& lines,
                      const std::array<QString, 3>& claimant, const QDateTime& printTime,
                      const ClaimFilter& period, const QString& path, int* pageCount,
                      QString* error, const QString& applicationNumber = QString());

// Pages first..last of a prepared job as a PDF on the given paper, its text
// layer holding every character drawn; empty when a page could not be drawn.
// With a creation time, the same job gives the same bytes every time (the
// file's dates are that time, its identifiers drawn from its content).
QByteArray RenderJobToPdf(const PrintJob& job, const QPageLayout& layout, int first, int last,
                          const QDateTime& created = QDateTime());
