#pragma once

#include "slip/RecoveryFile.h"

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class QLockFile;
class QTimer;
class TSlipFrame;

// Keeps the unsaved state of the window's slip in a recovery file of its own
// while the slip has changes: every interval after the first change, and
// soon after the grid's recompute. The file's lock is held while this
// process runs, so a file whose lock is stale belongs to a process that is
// gone (killed, crashed, switched off).
class AutoRecovery : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AutoRecovery)
public:
    static constexpr int DefaultIntervalMs = 60 * 1000;

    // folder: where recovery files live (made when needed); originalPath
    // tells the slip's current file at the time of each write.
    AutoRecovery(TSlipFrame *slip, const QString &folder, const QString &instance, int intervalMs,
                 std::function<QString()> originalPath, QObject *parent = nullptr);
    ~AutoRecovery() override;

    // The slip changed: the next write is due within the interval.
    void changed();
    // A write shortly, after the changes of this moment.
    void changedSoon();
    // Writes the slip now when it has changes; false when a write failed.
    bool writeNow();
    // The slip was saved or closed: its recovery file goes.
    void discard();
    QString path() const { return path_; }

    // A recovery file left by a process that no longer runs, its lock taken
    // by this process until the object goes.
    struct Leftover {
        QString path;
        RecoveryFile::Header header;
        std::shared_ptr<QLockFile> lock;
    };
    static std::vector<Leftover> leftovers(const QString &folder);
    // Removes a leftover's file, then its lock.
    static void remove(Leftover &leftover);

private:
    TSlipFrame *slip_;
    QString folder_;
    QString path_;
    std::function<QString()> originalPath_;
    QTimer *interval_;
    QTimer *soon_;
    std::unique_ptr<QLockFile> lock_;
};
