#include "SlipGridEditors.h"

#include "SlipGridView.h"
#include "controls/NumText.h"
#include "controls/widgets/TSaNumEdit.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

TSaNumEdit *numEdit(QWidget *parent, int integers, int decimals, bool minus)
{
    auto *edit = new TSaNumEdit(parent);
    edit->setAutoSize(false);
    edit->setIntegerLength(integers);
    edit->setDecimalLength(decimals);
    edit->setMinus(minus);
    edit->setErrorBeep(false);
    return edit;
}

// The nine number-or-text values of a row by field index (category excluded).
qint64 numberOf(const TRowData &row, int field)
{
    switch (field) {
    case 1:
        return row.TaxRate;
    case 4:
        return row.WorkPoint;
    case 5:
        return row.WorkPrice;
    case 6:
        return row.UnitPrice;
    case 7:
        return row.Count;
    case 8:
        return row.Price;
    default:
        return 0;
    }
}

qint64 *numberField(TRowData &row, int field)
{
    switch (field) {
    case 1:
        return &row.TaxRate;
    case 4:
        return &row.WorkPoint;
    case 5:
        return &row.WorkPrice;
    case 6:
        return &row.UnitPrice;
    case 7:
        return &row.Count;
    case 8:
        return &row.Price;
    default:
        return nullptr;
    }
}

bool sameField(const TRowData &a, const TRowData &b, int field)
{
    switch (field) {
    case 0:
        return a.LineDiv == b.LineDiv;
    case 2:
        return a.TextA == b.TextA;
    case 3:
        return a.WorkName == b.WorkName;
    default:
        return numberOf(a, field) == numberOf(b, field);
    }
}

} // namespace

SlipGridEditors::SlipGridEditors(QWidget *parent)
{
    Edit1 = new QComboBox(parent);
    UpEdit1 = numEdit(parent, 2, 1, true);
    UpEdit2 = new QLineEdit(parent);
    Edit2 = new QComboBox(parent);
    // Editable through its own line edit, so that its list is built when it
    // first opens rather than with the grid.
    Edit2->setLineEdit(new QLineEdit(Edit2));
    Edit2->setInsertPolicy(QComboBox::NoInsert);
    Edit2->lineEdit()->setMaxLength(12);
    Edit3 = numEdit(parent, 3, 2, false);
    Edit4 = numEdit(parent, 7, 0, false);
    Edit5 = numEdit(parent, 7, 0, false);
    Edit6 = numEdit(parent, 3, 2, true);
    Edit7 = numEdit(parent, 7, 0, false);
    widgets_ = {Edit1, UpEdit1, UpEdit2, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7};
    hideAll();
}

void SlipGridEditors::setCategories(const QStringList &names)
{
    Edit1->clear();
    Edit1->addItems(names);
    Edit1->setCurrentIndex(-1);
    loadedText_[0].clear();
}

void SlipGridEditors::setWorkNames(const QStringList &names)
{
    const QString keep = Edit2->currentText();
    Edit2->clear();
    Edit2->addItems(names);
    Edit2->setEditText(keep);
}

QString SlipGridEditors::text(int field) const
{
    switch (field) {
    case 0:
        return Edit1->currentIndex() < 0 ? QString() : Edit1->currentText();
    case 2:
        return UpEdit2->text();
    case 3:
        return Edit2->currentText();
    default:
        return static_cast<TSaNumEdit *>(widgets_[size_t(field)])->Text();
    }
}

void SlipGridEditors::setText(int field, const QString &value)
{
    switch (field) {
    case 0:
        Edit1->setCurrentIndex(Edit1->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive));
        break;
    case 2:
        UpEdit2->setText(value);
        UpEdit2->setCursorPosition(0);
        break;
    case 3:
        Edit2->setEditText(value);
        break;
    default:
        static_cast<TSaNumEdit *>(widgets_[size_t(field)])->setText(value);
        break;
    }
    loadedText_[size_t(field)] = text(field);
}

NumTextRules SlipGridEditors::rateRules() const
{
    NumTextRules rules;
    rules.integerLength = UpEdit1->IntegerLength();
    rules.decimalLength = UpEdit1->DecimalLength();
    rules.minus = UpEdit1->Minus();
    return rules;
}

QString SlipGridEditors::shownRate(qint64 rate, qint64 slipRate) const
{
    return Fixed::toText(rate == -Fixed::One ? slipRate : rate);
}

void SlipGridEditors::load(const TRowData &row, qint64 slipRate)
{
    loaded_ = row;
    setText(0, row.LineDiv);
    setText(1, shownRate(row.TaxRate, slipRate));
    setText(2, row.TextA);
    setText(3, row.WorkName);
    for (int field = 4; field < FieldCount; ++field)
        setText(field, Fixed::toText(numberOf(row, field)));
}

void SlipGridEditors::refresh(const TRowData &row, qint64 slipRate)
{
    for (int field = 0; field < FieldCount; ++field) {
        // A row that follows the slip shows the slip's rate of the moment,
        // unless the user is typing a rate of the row's own.
        const bool slipRateMoved = field == 1 && row.TaxRate == -Fixed::One && text(1) == loadedText_[1] &&
                                   text(1) != NumText::clean(shownRate(row.TaxRate, slipRate), rateRules());
        if (sameField(row, loaded_, field) && !slipRateMoved)
            continue;
        switch (field) {
        case 0:
            setText(0, row.LineDiv);
            break;
        case 1:
            setText(1, shownRate(row.TaxRate, slipRate));
            break;
        case 2:
            setText(2, row.TextA);
            break;
        case 3:
            setText(3, row.WorkName);
            break;
        default:
            setText(field, Fixed::toText(numberOf(row, field)));
            break;
        }
    }
    loaded_ = row;
}

TRowData SlipGridEditors::collect(const TRowData &row, qint64 slipRate) const
{
    TRowData out = row;
    for (int field = 0; field < FieldCount; ++field) {
        const QString now = text(field);
        if (now == loadedText_[size_t(field)])
            continue;
        switch (field) {
        case 0:
            out.LineDiv = now;
            break;
        case 2:
            out.TextA = now;
            break;
        case 3:
            out.WorkName = now;
            break;
        case 1: {
            // Compared also as the rate editor shows the slip's rate (one
            // decimal), so that 8.25 shown as 8.2 still means "the slip's rate".
            NumTextRules rules;
            rules.integerLength = UpEdit1->IntegerLength();
            rules.decimalLength = UpEdit1->DecimalLength();
            const QString slip = Fixed::toText(slipRate);
            out.TaxRate =
                (now == slip || now == NumText::clean(slip, rules)) ? -Fixed::One : Fixed::fromText(now);
            break;
        }
        default:
            *numberField(out, field) = Fixed::fromText(now);
            break;
        }
    }
    return out;
}

void SlipGridEditors::markStored(const TRowData &row)
{
    loaded_ = row;
    for (int field = 0; field < FieldCount; ++field)
        loadedText_[size_t(field)] = text(field);
}

void SlipGridEditors::placeOnRow(const SlipGridView &view, int row)
{
    static constexpr int column[FieldCount] = {1, 1, 2, 2, 3, 4, 5, 6, 7};
    const int top = view.rowTop(row);
    for (int field = 0; field < FieldCount; ++field) {
        const int c = column[field];
        int left = view.columnLeft(c) - 1;
        int width = view.columnWidth(c) + 3;
        if (field == 2)
            width = view.columnRight(7) - view.columnLeft(2) + 3;
        widgets_[size_t(field)]->setGeometry(left, isUpper(field) ? top : top + 23, width, 25);
    }
}

void SlipGridEditors::showOnly(int field)
{
    for (int f = 0; f < FieldCount; ++f) {
        if (f != field)
            widgets_[size_t(f)]->hide();
    }
    widgets_[size_t(field)]->show();
    widgets_[size_t(field)]->raise();
}

void SlipGridEditors::hideAll()
{
    for (QWidget *w : widgets_)
        w->hide();
}
