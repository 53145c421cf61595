// The main window's safety nets: the recovery of a slip after a crash and
// the backups of the masters and settings.
#include "AutoRecovery.h"
#include "Backups.h"
#include "TMainForm.h"

#include "master/widgets/TFrame1.h"
#include "platform/AppFolder.h"
#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "platform/MessageService.h"
#include "slip/widgets/TSlipFrame.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStatusBar>

using namespace Qt::StringLiterals;

QString TMainForm::recoveryQuestion(const QString &slipCode, const QString &customer, const QDateTime &time,
                                    const QString &originalPath)
{
    return u"前回保存されなかった伝票があります\n\n"_s + u"伝票番号: "_s + slipCode + u"\nお客様: "_s +
           (customer.isEmpty() ? u"(未入力)"_s : customer) + u"\n日時: "_s +
           time.toString(u"yyyy/MM/dd HH:mm"_s) + u"\nファイル: "_s +
           (originalPath.isEmpty() ? u"(未保存の新規伝票)"_s : QDir::toNativeSeparators(originalPath)) +
           u"\n\n復元すると、変更された伝票として開きます。"_s;
}

void TMainForm::offerRecovery()
{
    if (env_.recoveryFolder.isEmpty())
        return;
    std::vector<AutoRecovery::Leftover> found = AutoRecovery::leftovers(env_.recoveryFolder);
    for (AutoRecovery::Leftover &leftover : found) {
        const RecoveryFile::Header &h = leftover.header;
        const int answer = env_.messages->choose(
            recoveryQuestion(h.slipCode, h.customer, h.time, h.originalPath), {u"復元"_s, u"破棄"_s});
        if (answer == 1) {
            AutoRecovery::remove(leftover);
        } else if (answer == 0) {
            // An untouched new slip here makes way; otherwise the slip gets
            // a window of its own, which takes the file's lock over.
            if (currentFile_.isEmpty() && !SlipFrame1->isModified()) {
                restoreRecovery(leftover.path, std::move(leftover.lock));
            } else {
                leftover.lock.reset();
                if (env_.startProcess)
                    env_.startProcess(env_.program, {QDir::toNativeSeparators(leftover.path)});
            }
        }
        // Without an answer the file stays for the next start; its lock goes
        // with the list.
    }
}

void TMainForm::restoreRecovery(const QString &path, std::shared_ptr<QLockFile> lock)
{
    const IniFile ini(path);
    const std::optional<RecoveryFile::Header> header = RecoveryFile::readHeader(ini);
    if (!header) {
        env_.messages->show(MessageService::Kind::Error,
                            QDir::toNativeSeparators(path) + u" を読み込めません"_s);
        return;
    }
    QString original = header->originalPath;
    std::unique_ptr<QLockFile> originalLock;
    Claim claim = Claim::Open;
    // Save writes to the original file again, under its lock; a file shown
    // by another window meanwhile leaves the slip a new one, saved under a
    // name of the user's choice.
    if (!original.isEmpty() && QFileInfo(original).isFile()) {
        claim = claimSlip(original, &originalLock);
        if (claim == Claim::Refuse)
            original.clear();
    }
    SlipFrame1->setNotify(false);
    SlipFrame1->LoadSlip(ini, sstAll);
    SlipFrame1->setNotify(true);
    currentFile_ = original;
    slipLock_ = std::move(originalLock);
    readOnly_ = claim == Claim::OpenReadOnly;
    if (!original.isEmpty())
        initialFolder_ = QFileInfo(original).absolutePath();
    action(u"UndoAction"_s)->setEnabled(!currentFile_.isEmpty());
    SlipFrame1->setModified(true);
    updateTitle();
    // This window's own recovery file holds the slip from now on.
    if (recovery_)
        recovery_->writeNow();
    QFile::remove(path);
    lock.reset();
}

void TMainForm::BackupActionExecute()
{
    QString error;
    const QString made = Backups::make(AppFolder(env_.appDir), Clock::localNow(), &error);
    if (made.isEmpty()) {
        env_.messages->show(MessageService::Kind::Error, error);
        return;
    }
    env_.messages->show(MessageService::Kind::Information,
                        u"バックアップを作成しました\n"_s + QDir::toNativeSeparators(made));
}

void TMainForm::RestoreActionExecute()
{
    const AppFolder app(env_.appDir);
    const QString chosen = env_.chooseBackupFile ? env_.chooseBackupFile(app.backupFolder()) : QString();
    if (chosen.isEmpty())
        return;
    if (!env_.messages->askWarning(QDir::toNativeSeparators(chosen) +
                                   u" の内容で、マスタ・設定・税額表・書式・テンプレートを置き換えます\n"
                                   u"現在の状態は先にバックアップします。よろしいですか？"_s))
        return;
    QString error;
    if (Backups::make(app, Clock::localNow(), &error).isEmpty() || !Backups::restore(app, chosen, &error)) {
        env_.messages->show(MessageService::Kind::Error, error);
        return;
    }
    if (editMode_)
        setEditMode(false);
    reloadSettings(false);
    Frame11->ReloadAll();
    env_.messages->show(MessageService::Kind::Information, u"バックアップから復元しました"_s);
}
