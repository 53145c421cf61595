#pragma once

#include <QString>

// Writes a print data script as a PDF: A4 sheets with no unprintable margin,
// the page pictures drawn at the script's geometry, fonts embedded.
namespace PdfExport {

struct Job {
    QString scriptPath;
    QString pdfPath;
    QString tempDir; // where the page files go while the PDF is written
    QString prefix;  // the instance prefix of the page files
    QString title;   // the document title
    double offsetXMm = 0;
    double offsetYMm = 0;
};

// Renders the script into page files, writes them into the PDF and deletes
// them again, also on failure. False with the reason in *error.
bool write(const Job &job, QString *error);

// The resolution of the PDF's page pictures, in dots per inch.
constexpr int Resolution = 1200;

} // namespace PdfExport
