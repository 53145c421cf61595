#pragma once

#include <QString>

// Writes a print data script as a PDF: A4 sheets with no unprintable margin,
// the page pictures drawn at the script's geometry, fonts embedded.
namespace PdfExport {

struct Job {
    QString scriptPath;
    QString pdfPath;
    QString title; // the document title
    double offsetXMm = 0;
    double offsetYMm = 0;
};

// Renders the script page by page straight into the PDF; no page files are
// written. The PDF replaces pdfPath only when it is complete. False with the
// reason in *error.
bool write(const Job &job, QString *error);

// The resolution of the PDF's page pictures, in dots per inch.
constexpr int Resolution = 1200;

} // namespace PdfExport
