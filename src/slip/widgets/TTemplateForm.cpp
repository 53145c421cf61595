#include "TTemplateForm.h"

#include "controls/widgets/HelpButton.h"
#include "controls/widgets/TSizeGrip.h"
#include "platform/MessageService.h"
#include "slip/Templates.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {
constexpr int FileNameRole = Qt::UserRole;
constexpr int CategoryRole = Qt::UserRole + 1;
} // namespace

QIcon templateCategoryIcon(int category)
{
    // One colour and one letter per category, drawn so that no image files
    // are needed.
    static const QColor colours[] = {{},
                                     {0x2e, 0x7d, 0x32},
                                     {0x15, 0x65, 0xc0},
                                     {0x6a, 0x1b, 0x9a},
                                     {0xe6, 0x51, 0x00},
                                     {0x5d, 0x40, 0x37}};
    static const char16_t *const letters[] = {u"", u"客", u"車", u"客", u"明", u"伝"};
    if (category < 1 || category > 5)
        return {};
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colours[category]);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    QFont font = p.font();
    font.setPixelSize(11);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QString::fromUtf16(letters[category]));
    if (category == 3) {
        // 顧客と車両: a second mark tells it from the customer icon.
        p.setBrush(colours[2]);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(10, 10, 6, 6));
    }
    return QIcon(pixmap);
}

TTemplateForm::TTemplateForm(const QString &folder, MessageService &messages, QWidget *parent)
    : QDialog(parent), folder_(folder), messages_(messages)
{
    setObjectName(u"TemplateForm"_s);
    setWindowTitle(u"テンプレートの選択"_s);
    setMinimumSize(560, 320);
    setSizeGripEnabled(false); // the grip below keeps the corner

    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(u"TreeView1"_s);
    TreeView1->setHeaderHidden(true);
    TreeView1->setRootIsDecorated(false);
    for (int c = 0; c <= 5; ++c) {
        auto *item = new QTreeWidgetItem(TreeView1, {Templates::categoryLabel(c)}, c);
        item->setIcon(0, c == 0 ? style()->standardIcon(QStyle::SP_DirIcon) : templateCategoryIcon(c));
    }
    auto *treeLabel = new QLabel(u"検索カテゴリ(&C)"_s, this);
    treeLabel->setBuddy(TreeView1);

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(u"ListView1"_s);
    ListView1->setRootIsDecorated(false);
    ListView1->setColumnCount(2);
    ListView1->setHeaderLabels({u"設定名"_s, u"詳細"_s});
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setIconSize(QSize(16, 16));
    ListView1->setUniformRowHeights(true);
    ListView1->setTextElideMode(Qt::ElideRight);
    ListView1->header()->setStretchLastSection(false);
    ListView1->header()->setSectionResizeMode(QHeaderView::Interactive);
    // The viewport's own size counts: it changes with the scroll bar too.
    ListView1->viewport()->installEventFilter(this);
    auto *listLabel = new QLabel(u"ファイル一覧(&F)"_s, this);
    listLabel->setBuddy(ListView1);

    auto *buttons = new QDialogButtonBox(this);
    Button3 = buttons->addButton(u"削除(&D)"_s, QDialogButtonBox::ActionRole);
    Button3->setObjectName(u"Button3"_s);
    Button2 = buttons->addButton(u"開く"_s, QDialogButtonBox::ActionRole);
    Button2->setObjectName(u"Button2"_s);
    Button2->setDefault(true);
    Button1 = buttons->addButton(u"キャンセル"_s, QDialogButtonBox::RejectRole);
    Button1->setObjectName(u"Button1"_s);
    Button4 = buttons->addButton(u"ヘルプ(&H)"_s, QDialogButtonBox::HelpRole);
    Button4->setObjectName(u"Button4"_s);
    connectHelpButton(Button4, 45);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(Button2, &QPushButton::clicked, this, &TTemplateForm::openSelected);
    connect(Button3, &QPushButton::clicked, this, &TTemplateForm::deleteSelected);

    auto *layout = new QGridLayout(this);
    layout->addWidget(treeLabel, 0, 0);
    layout->addWidget(TreeView1, 1, 0);
    layout->addWidget(listLabel, 0, 1);
    layout->addWidget(ListView1, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 3);
    layout->setRowStretch(1, 1);
    layout->setContentsMargins(8, 8, 8, 20);

    new TSizeGrip(this);

    connect(TreeView1, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (item)
            fill(item->type());
    });
    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, &TTemplateForm::updateButtons);
    connect(ListView1, &QTreeWidget::itemDoubleClicked, this, &TTemplateForm::openSelected);

    resize(640, 380);
    TreeView1->setCurrentItem(TreeView1->topLevelItem(0));
    updateButtons();
}

void TTemplateForm::fill(int filter)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ListView1->clear();
    for (const Templates::Entry &e : Templates::list(folder_, filter)) {
        auto *item = new QTreeWidgetItem(ListView1, {e.name, e.detail});
        item->setIcon(0, templateCategoryIcon(e.category));
        item->setToolTip(1, e.detail);
        item->setData(0, FileNameRole, e.fileName);
        item->setData(0, CategoryRole, e.category);
    }
    QApplication::restoreOverrideCursor();
    layoutColumns();
    updateButtons();
}

void TTemplateForm::openSelected()
{
    const QList<QTreeWidgetItem *> selected = ListView1->selectedItems();
    if (selected.isEmpty())
        return;
    path_ = QDir(folder_).filePath(selected.first()->data(0, FileNameRole).toString());
    category_ = selected.first()->data(0, CategoryRole).toInt();
    accept();
}

void TTemplateForm::deleteSelected()
{
    const QList<QTreeWidgetItem *> selected = ListView1->selectedItems();
    if (selected.isEmpty())
        return;
    QTreeWidgetItem *item = selected.first();
    if (messages_.ask(item->text(0) + u" を削除しますか？"_s) != MessageService::Answer::Yes)
        return;
    const QString path = QDir(folder_).filePath(item->data(0, FileNameRole).toString());
    if (QFile::exists(path) && !QFile::remove(path)) {
        messages_.show(MessageService::Kind::Error, path + u" を削除できません"_s);
        return;
    }
    delete item;
    updateButtons();
}

bool TTemplateForm::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == ListView1->viewport() && (e->type() == QEvent::Resize || e->type() == QEvent::Show))
        layoutColumns();
    return QDialog::eventFilter(watched, e);
}

void TTemplateForm::layoutColumns()
{
    ListView1->setColumnWidth(0, NameColumnWidth);
    ListView1->setColumnWidth(1, qMax(0, ListView1->viewport()->width() - NameColumnWidth));
}

void TTemplateForm::updateButtons()
{
    const bool any = !ListView1->selectedItems().isEmpty();
    Button2->setEnabled(any);
    Button3->setEnabled(any);
}
