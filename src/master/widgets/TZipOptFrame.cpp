#include "TZipOptFrame.h"

#include "master/ZipDictionary.h"
#include "platform/AppFolder.h"
#include "platform/MessageService.h"
#include "platform/SafeFileName.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TZipOptFrame::TZipOptFrame(const QString &appDir, MessageService &messages, QWidget *parent)
    : QWidget(parent), appDir_(appDir), messages_(messages)
{
    setObjectName(u"ZipOptFrame"_s);
    chooseFile_ = [this] {
        return QFileDialog::getOpenFileName(this, QString(), QString(),
                                            u"カンマ区切りテキスト (*.CSV *.csv)"_s);
    };

    auto *box = new QGroupBox(u"有効な郵便番号辞書"_s, this);
    ListBox1 = new QListWidget(box);
    ListBox1->setObjectName(u"ListBox1"_s);
    ListBox1->addItems(ZipDictionary::usable(AppFolder(appDir)));
    Button1 = new QPushButton(u"辞書追加(&A)..."_s, box);
    Button1->setObjectName(u"Button1"_s);
    Button2 = new QPushButton(u"辞書削除(&D)"_s, box);
    Button2->setObjectName(u"Button2"_s);
    Button2->setEnabled(false);
    connect(Button1, &QPushButton::clicked, this, &TZipOptFrame::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TZipOptFrame::Button2Click);
    connect(ListBox1, &QListWidget::itemSelectionChanged, this,
            [this] { Button2->setEnabled(!ListBox1->selectedItems().isEmpty()); });

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addStretch(1);
    auto *inner = new QHBoxLayout(box);
    inner->addWidget(ListBox1, 1);
    inner->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(box);
}

QStringList TZipOptFrame::names() const
{
    QStringList out;
    for (int i = 0; i < ListBox1->count(); ++i)
        out.append(ListBox1->item(i)->text());
    return out;
}

void TZipOptFrame::writeList()
{
    QString error;
    if (!ZipDictionary::writeList(AppFolder(appDir_), names(), &error))
        messages_.show(MessageService::Kind::Error, error);
}

void TZipOptFrame::Button1Click()
{
    const QString source = chooseFile_ ? chooseFile_() : QString();
    if (source.isEmpty())
        return;
    const QString name = QFileInfo(source).fileName();
    // The name becomes a file of the dictionary folder and a line of ziplist.
    if (!SafeFileName::isSafe(name)) {
        messages_.show(MessageService::Kind::Warning, SafeFileName::refusal(name));
        return;
    }
    const AppFolder folder(appDir_);
    QDir().mkpath(folder.zipFolder());
    const QString target = folder.zipFolder() + name;
    if (!QFileInfo::exists(target) && !QFile::copy(source, target)) {
        messages_.show(MessageService::Kind::Error,
                       u"辞書をコピーできません。\n"_s + QDir::toNativeSeparators(source));
        return;
    }
    // A name listed twice would be searched twice.
    if (!names().contains(name))
        ListBox1->addItem(name);
    writeList();
}

void TZipOptFrame::Button2Click()
{
    QListWidgetItem *item = ListBox1->currentItem();
    if (!item || !item->isSelected())
        return;
    if (messages_.ask(u"削除しますか?"_s) != MessageService::Answer::Yes)
        return;
    QFile::remove(ZipDictionary::path(AppFolder(appDir_), item->text()));
    delete item;
    writeList();
}
