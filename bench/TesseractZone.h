#pragma once
// Tesseract 5 as the comparison row of the zone benchmark: run as the
// `tesseract` command on one thread, its text taken as a zone the way a
// caller without a zone finder of its own would take it.

#include "MrzScore.h"

#include <QImage>
#include <QPolygonF>
#include <QString>

namespace mrzbench {

/// Runs tesseract on the picture with the zone's alphabet; returns the
/// child's processor time in milliseconds and its text in *output.
/// psm: Tesseract's page segmentation mode (6: one block, 3: a whole page).
double RunTesseract(const QString &picture, int psm, QString *output);

/// The zone cut out along its corners, upright, deskewed and scaled to a
/// pitch of 30 pixels, with a margin of white: as much help as a reader can get.
QImage ZoneCrop(const QImage &page, const QPolygonF &zone, int length);

/// The zone in Tesseract's text: the last `rows` lines that look like zone
/// lines, blanks removed, each padded or cut to `length`. On a crop of the
/// zone any line of half the length counts; on a whole picture a line must
/// be about the length and hold a filler. found: that many lines were there.
/// valid: every check digit of the format with that geometry holds.
Reading ZoneFromText(const QString &output, int rows, int length, bool wholePicture);

/// On a picture without a zone in its truth: the first layout (lines and
/// length) whose zone the whole picture's text seems to hold, found or not.
Reading AnyZoneFromText(const QString &output);

} // namespace mrzbench
