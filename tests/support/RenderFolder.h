#pragma once

#include "platform/Cp932.h"
#include "print/FontSetup.h"
#include "print/PageGeometry.h"
#include "print/TMakeMataDBM.h"
#include "print/TPrnPlotY.h"

#include <QDir>
#include <QFile>
#include <QPointF>
#include <QStringList>
#include <QTemporaryDir>

// A4 at 600 dpi with unprintable margins of 4 mm on the left and 5 mm at the
// top: the page of the test printers.
inline PageGeometry a4Printer()
{
    return PageGeometry(QSize(600, 600), QSize(4960, 7016), QSize(4724, 6780), QPoint(94, 118));
}

// A temporary application folder made ready for rendering and printing: the
// font substitutions that formats rely on, Dat/Tmp/ for the page files, and
// the invoice format of the fixtures in Dat/Fmt/. Create it once the
// application object exists.
class RenderFolder {
public:
    struct Drawn {
        TMakeMataDBM::Result result;
        int pages = 0;
        QString error;
    };

    RenderFolder()
    {
        FontSetup::installSubstitutions();
        QDir().mkpath(tmp());
        QDir().mkpath(path() + QStringLiteral("Dat/Fmt"));
        QFile::copy(QStringLiteral(TORVANE_FIXTURES "/render/invoice.fmt"), formatPath());
    }

    bool isValid() const { return dir_.isValid() && QFile::exists(formatPath()); }
    // With a trailing "/", as the program passes it.
    QString path() const { return dir_.path() + u'/'; }
    QString settingsPath() const { return path() + QStringLiteral("torvane.ini"); }
    QString formatPath() const { return path() + QStringLiteral("Dat/Fmt/invoice.fmt"); }
    QString tmp() const { return path() + QStringLiteral("Dat/Tmp/"); }
    int tmpFileCount() const { return int(QDir(tmp()).entryList(QDir::Files).size()); }
    // Leaves Dat/Tmp/ empty.
    bool clearTmp() const { return QDir(tmp()).removeRecursively() && QDir().mkpath(tmp()); }

    // Writes a page script as print data generation does (CP932, CRLF) and
    // returns its path; outside Dat/Tmp/, so that it never counts as a page.
    QString writeScript(const QStringList &lines) const
    {
        const QString file = path() + QStringLiteral("script");
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return {};
        out.write(Cp932::encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
        return file;
    }

    // Draws the script lines into plot, whose page files go to Dat/Tmp/ named
    // after prefix; offsetMm is the print correction.
    Drawn draw(TPrnPlotY &plot, const QString &prefix, const QStringList &lines, QPointF offsetMm = {},
               RenderObserver *observer = nullptr) const
    {
        plot.setPageFiles(tmp(), prefix);
        TMakeMataDBM renderer;
        renderer.SetScript(writeScript(lines));
        renderer.SetOffsets(offsetMm.x(), offsetMm.y());
        const TMakeMataDBM::Result result = renderer.DrawPages(plot, observer);
        return {result, plot.pageCount(), renderer.errorString()};
    }

private:
    QTemporaryDir dir_;
};
