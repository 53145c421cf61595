// The edit-mode commands of the item search window: rows, vehicle-class
// columns and categories.
#include "ItemGridModel.h"
#include "TFrame1.h"

#include "lines/Share.h"
#include "platform/MessageService.h"

#include <QComboBox>
#include <QListWidget>
#include <QTableView>

using namespace Qt::StringLiterals;

namespace {

const QString NameCaption = u"分類名入力"_s;
const QString NamePrompt = u"新しい分類名を入力してください。"_s;

} // namespace

void TFrame1::appendItemRow()
{
    model_->insertItemRow(model_->rowCount());
    setCurrentGridRow(model_->rowCount() - 1);
}

void TFrame1::insertItemRowAtTop()
{
    model_->insertItemRow(1);
    setCurrentGridRow(1);
}

void TFrame1::insertItemRowAtCurrent()
{
    const int row = qMax(1, StringGrid1->currentIndex().row());
    model_->insertItemRow(row);
    setCurrentGridRow(row);
}

void TFrame1::deleteItemRow()
{
    const int row = StringGrid1->currentIndex().row();
    if (row < 1)
        return;
    model_->removeItemRow(row);
    setCurrentGridRow(qMin(row, model_->rowCount() - 1));
}

void TFrame1::appendVehicleClass()
{
    model_->appendColumn();
    const int column = model_->grid().columnCount() - 1;
    AdjustColumnWidths();
    // Its name is typed into row 0.
    StringGrid1->setCurrentIndex(model_->index(0, column));
}

void TFrame1::removeLastVehicleClass()
{
    model_->removeLastColumn();
    AdjustColumnWidths();
}

void TFrame1::addCategory()
{
    const std::optional<QString> name = messages_.askText(NameCaption, NamePrompt, QString());
    if (!name)
        return;
    const QString code = MakeUniqueCode();
    categories_.append(*name, code);
    QString error;
    if (!categories_.write(where_, &error) || !ItemFiles::createCategoryFiles(where_, code, &error)) {
        showWriteError(error);
        return;
    }
    searchBuilt_ = false;
    // A repeated name selects the older category of that name.
    const int shown = currentCategory_;
    refillCategoryLists(shown);
    const int selected = categories_.indexOf(*name);
    {
        const QSignalBlocker block(ComboBox1);
        ComboBox1->setCurrentIndex(selected);
    }
    categoryChosen(selected);
}

void TFrame1::deleteCategory()
{
    if (categories_.size() <= 1) {
        messages_.show(MessageService::Kind::Error, u"最後の1件は削除できません"_s);
        return;
    }
    if (messages_.ask(u"分類 「"_s + ComboBox1->currentText() + u"」を削除しますか？"_s) !=
        MessageService::Answer::Yes)
        return;
    const int index = currentCategory_;
    ItemFiles::removeCategoryFiles(where_, categories_.code(index));
    categories_.remove(index);
    QString error;
    if (!categories_.write(where_, &error))
        showWriteError(error);
    searchBuilt_ = false;
    // The grid showed the deleted category: load the next without saving.
    refillCategoryLists(ItemFiles::CategoryList::indexAfterRemoval(index, categories_.size()));
    LoadItems();
}

void TFrame1::renameCategory()
{
    const int index = currentCategory_;
    if (index < 0)
        return;
    const std::optional<QString> name = messages_.askText(NameCaption, NamePrompt, categories_.name(index));
    if (!name)
        return;
    categories_.rename(index, *name);
    // The grid keeps showing the same items: only the names change.
    const int selected = categories_.indexOf(*name);
    refillCategoryLists(selected);
    if (selected != index) {
        // An older category already had the name: it is shown from now on.
        SaveItems();
        LoadItems();
    }
    QString error;
    if (!categories_.write(where_, &error))
        showWriteError(error);
    searchBuilt_ = false;
}
