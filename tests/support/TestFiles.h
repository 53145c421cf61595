#pragma once

#include <QDir>
#include <QFile>
#include <QWidget>

// A file's bytes, to show that something left it exactly as it was; empty
// when it cannot be read.
inline QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Saves a picture of the widget into TORVANE_GRAB_DIR, when it is set, for a
// person to look at.
inline void grabTo(QWidget &w, const QString &name)
{
    const QString dir = qEnvironmentVariable("TORVANE_GRAB_DIR");
    if (!dir.isEmpty())
        w.grab().save(QDir(dir).filePath(name));
}
