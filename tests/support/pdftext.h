#pragma once

#include <QString>
#include <QStringList>

/** Text of a PDF file as poppler's pdftotext reads it (physical layout kept); empty when the
 *  file cannot be read. */
QString pdfText(const QString& pdfPath);
/** Number of pages of a PDF file, from pdfinfo; -1 when unknown. */
int pdfPageCount(const QString& pdfPath);
/** Names of the fonts a PDF file uses, from pdffonts, without the subset prefix ("ABCDEF+"). */
QStringList pdfFonts(const QString& pdfPath);
