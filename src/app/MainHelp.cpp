// The help commands of the main window: contents, keyword search, tutorial,
// the project page, F1 and the dialogs' ヘルプ buttons.
#include "HelpTopics.h"
#include "HelpViewer.h"
#include "TMainForm.h"

#include "lines/widgets/TSlipGridFrame.h"
#include "master/widgets/TFrame1.h"
#include "platform/HelpRequest.h"
#include "platform/MessageService.h"
#include "slip/widgets/TSlipFrame.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QShortcut>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

// The project's page, set when the program is built; empty hides "最新情報".
const QString HomepageUrl = QStringLiteral(TORVANE_HOMEPAGE_URL);

// The topic of the tutorial page.
constexpr int TutorialTopic = 33;

} // namespace

void TMainForm::buildHelp()
{
    connect(action(u"HelpIndexAction"_s), &QAction::triggered, this, [this] {
        showHelp(0);
        if (helpViewer_)
            helpViewer_->showContents();
    });
    connect(action(u"HelpTopicAction"_s), &QAction::triggered, this, [this] {
        showHelp(0);
        if (helpViewer_)
            helpViewer_->showSearch();
    });
    connect(action(u"N5"_s), &QAction::triggered, this, [this] { showHelp(TutorialTopic); });
    QAction *news = action(u"N6"_s);
    news->setVisible(!HomepageUrl.isEmpty());
    connect(news, &QAction::triggered, this, [] { QDesktopServices::openUrl(QUrl(HomepageUrl)); });

    auto *f1 = new QShortcut(QKeySequence::HelpContents, this);
    f1->setObjectName(u"HelpShortcut"_s);
    connect(f1, &QShortcut::activated, this, [this] { showHelp(contextTopic()); });

    HelpRequest::setHandler([this](int topic) { showHelp(topic); });
}

HelpViewer *TMainForm::helpViewer() const
{
    return helpViewer_;
}

int TMainForm::contextTopic() const
{
    for (const QWidget *w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        if (qobject_cast<const TSlipGridFrame *>(w))
            return 22;
        if (qobject_cast<const TFrame1 *>(w))
            return 23;
        if (qobject_cast<const TSlipFrame *>(w))
            return 16;
    }
    return 16;
}

// Topic 0 only makes the window (for contents and search).
void TMainForm::showHelp(int topic)
{
    if (!helpViewer_) {
        const QString folder = HelpTopics::folder(QCoreApplication::applicationDirPath());
        if (folder.isEmpty()) {
            env_.messages->show(
                MessageService::Kind::Error,
                u"ヘルプファイルが見つかりません。\nプログラムのフォルダに help フォルダがあるか確認してください。"_s);
            return;
        }
        helpViewer_ = new HelpViewer(folder, this);
    }
    // A modal dialog blocks every window but its own: the help window asked
    // for from a dialog becomes that dialog's, so that it can be scrolled
    // and followed while the dialog stays open.
    QWidget *owner = QApplication::activeModalWidget();
    if (!owner)
        owner = this;
    if (helpViewer_->parentWidget() != owner) {
        const QRect geometry = helpViewer_->geometry();
        helpViewer_->setParent(owner, Qt::Window);
        helpViewer_->setGeometry(geometry);
    }
    if (topic > 0)
        helpViewer_->showTopic(topic);
}
