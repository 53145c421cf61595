#pragma once

#include <QRectF>
#include <QSize>
#include <QString>

class QPainter;
class QPicture;

// The page files of one print run and their output onto a device.
namespace PageFiles {

// Plays a picture so that its rectangle source fills target. Qt scales a
// played picture by the device's resolution over the one it was recorded
// at; that is undone here, the picture's units are the caller's.
void playStretched(QPainter &painter, const QPicture &picture, const QRectF &source, const QRectF &target);

// Plays a page picture stretched over target (device coordinates): the
// page's logical extent pageSize fills the whole rectangle. Clipping is
// lifted while it plays, so nothing of the sheet is cut at the printable edge.
void play(QPainter &painter, const QPicture &page, QSize pageSize, const QRectF &target);

// Loads and plays page file; false (nothing drawn) when it is missing or
// unreadable.
bool playFile(QPainter &painter, const QString &file, QSize pageSize, const QRectF &target);

// Deletes the page files 1..count of the run; returns how many were there.
int remove(const QString &tempDir, const QString &prefix, int count);

} // namespace PageFiles
