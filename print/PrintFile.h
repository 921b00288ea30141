// Printing a source file without a window: tarnw --print-to-pdf.
#pragma once

#include <QFont>
#include <QString>

// Loads FILE as an editor window would and prints all its pages as the
// Print command does, with the default page set-up and FONT, to the PDF
// file OUT. OUT is written only when the whole job succeeded; a file already
// there is replaced then and left alone otherwise. Returns false with a
// message in ERROR when FILE cannot be read or OUT cannot be written.
bool PrintFileToPdf(const QString& file, const QString& out, const QFont& font, QString& error);
