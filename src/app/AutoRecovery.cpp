#include "AutoRecovery.h"

#include "platform/DocumentLock.h"
#include "platform/IniFile.h"
#include "slip/widgets/TSlipFrame.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTimer>

using namespace Qt::StringLiterals;

AutoRecovery::AutoRecovery(TSlipFrame *slip, const QString &folder, const QString &instance, int intervalMs,
                           std::function<QString()> originalPath, QObject *parent)
    : QObject(parent), slip_(slip), folder_(folder),
      path_(folder + RecoveryFile::fileName(QCoreApplication::applicationPid(), instance)),
      originalPath_(std::move(originalPath)), interval_(new QTimer(this)), soon_(new QTimer(this))
{
    interval_->setSingleShot(true);
    interval_->setInterval(intervalMs);
    soon_->setSingleShot(true);
    soon_->setInterval(0);
    connect(interval_, &QTimer::timeout, this, &AutoRecovery::writeNow);
    connect(soon_, &QTimer::timeout, this, &AutoRecovery::writeNow);
}

AutoRecovery::~AutoRecovery() = default;

void AutoRecovery::changed()
{
    if (!interval_->isActive())
        interval_->start();
}

void AutoRecovery::changedSoon()
{
    soon_->start();
}

bool AutoRecovery::writeNow()
{
    interval_->stop();
    soon_->stop();
    if (!slip_->isModified())
        return true;
    if (!lock_) {
        QDir().mkpath(folder_);
        DocumentLock::Claim claim = DocumentLock::take(path_);
        if (claim.state != DocumentLock::State::Taken)
            return false;
        lock_ = std::move(claim.lock);
    }
    const SlipData slip = slip_->data();
    RecoveryFile::Header header;
    header.originalPath = originalPath_();
    header.pid = QCoreApplication::applicationPid();
    header.time = QDateTime::currentDateTime();
    header.slipCode = slip.slipCode;
    header.customer = slip.custName.isEmpty() ? QString() : slip.custName + u' ' + slip.custTitle;
    const SlipFile::Context context{slip_->categories(), QDate::currentDate()};
    QString error;
    return RecoveryFile::write(path_, header, slip, context, &error);
}

void AutoRecovery::discard()
{
    interval_->stop();
    soon_->stop();
    if (!lock_)
        return;
    QFile::remove(path_);
    lock_.reset();
}

std::vector<AutoRecovery::Leftover> AutoRecovery::leftovers(const QString &folder)
{
    std::vector<Leftover> found;
    const QDir dir(folder);
    const QStringList names = dir.entryList({u"*.tvr"_s}, QDir::Files, QDir::Time | QDir::Reversed);
    for (const QString &name : names) {
        if (!RecoveryFile::isRecoveryName(name))
            continue;
        const QString path = dir.filePath(name);
        // A live process of this host or any process of another host that
        // shares the folder still holds its file.
        DocumentLock::Claim claim = DocumentLock::take(path);
        if (claim.state != DocumentLock::State::Taken)
            continue;
        const std::optional<RecoveryFile::Header> header = RecoveryFile::readHeader(IniFile(path));
        if (!header)
            continue; // not ours to judge; the lock goes with the claim
        found.push_back({path, *header, std::shared_ptr<QLockFile>(std::move(claim.lock))});
    }
    return found;
}

void AutoRecovery::remove(Leftover &leftover)
{
    QFile::remove(leftover.path);
    leftover.lock.reset();
}
