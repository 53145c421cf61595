#include "support/RecordingDevice.h"

#include "slip/widgets/TCostGrid.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

namespace {

SlipData::CostRow row(const QString &name, const QString &price, bool taxable = false)
{
    return SlipData::CostRow{name, price, taxable};
}

// Keys go where a user's keys go: to the widget with the focus (the cell
// editor once typing has opened it).
void type(QWidget *fallback, const QString &text)
{
    for (QChar c : text) {
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : fallback;
        QTest::keyClick(target, c.toLatin1());
    }
}

void press(QWidget *fallback, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : fallback, key, mods);
    // The item views commit an edit through a queued call.
    QCoreApplication::processEvents();
}

QPoint cellCenter(TCostGrid &grid, int r, int c)
{
    return grid.visualItemRect(grid.item(r, c)).center();
}

} // namespace

class TestCostGrid : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void priceInput_data();
    void priceInput();
    void taxFlagByClickAndSpace();
    void ctrlSpaceAsksForCostList();
    void deleteRowMovesRowsUp();
    void setCurrentCost();
    void drawing();
    void wheelScrollsTheHost();

private:
    std::unique_ptr<TCostGrid> grid_;
};

void TestCostGrid::init()
{
    grid_ = std::make_unique<TCostGrid>();
    grid_->resize(grid_->sizeHint());
    grid_->show();
    QVERIFY(QTest::qWaitForWindowExposed(grid_.get()));
    grid_->activateWindow();
    grid_->setFocus();
}

void TestCostGrid::cleanup()
{
    grid_.reset();
}

void TestCostGrid::priceInput_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("whole yen") << u"1500"_s << u"1500"_s;
    QTest::newRow("negative") << u"-500"_s << u"-500"_s;
    QTest::newRow("letters leave it empty") << u"abc"_s << QString();
    QTest::newRow("digits then letters") << u"12x"_s << QString();
    QTest::newRow("decimal") << u"10.5"_s << QString();
}

void TestCostGrid::priceInput()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    grid_->setCurrentCell(1, TCostGrid::PriceColumn);
    type(grid_.get(), typed);
    press(grid_.get(), Qt::Key_Return);
    QCOMPARE(grid_->costRow(1).price, stored);

    // Over a price already there, letters empty the cell: that is a change.
    grid_->setCostRows({row(u"a"_s, u"300"_s)});
    grid_->setCurrentCell(0, TCostGrid::PriceColumn);
    QSignalSpy spy(grid_.get(), &TCostGrid::cellEdited);
    type(grid_.get(), typed);
    press(grid_.get(), Qt::Key_Return);
    QCOMPARE(grid_->costRow(0).price, stored);
    QCOMPARE(spy.count(), 1);
}

void TestCostGrid::taxFlagByClickAndSpace()
{
    QSignalSpy spy(grid_.get(), &TCostGrid::cellEdited);
    QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, cellCenter(*grid_, 2, TCostGrid::TaxColumn));
    QVERIFY(grid_->costRow(2).taxable);
    QCOMPARE(grid_->currentRow(), 2);
    QCOMPARE(grid_->costRows()[2].price, QString());

    press(grid_.get(), Qt::Key_Space);
    QVERIFY(!grid_->costRow(2).taxable);
    QCOMPARE(spy.count(), 2);
    // The flag is never typed: no editor opens in the tax column.
    QVERIFY(!qobject_cast<QLineEdit *>(QApplication::focusWidget()));

    // Space in the name column types a blank instead of toggling.
    grid_->setCurrentCell(2, TCostGrid::NameColumn);
    press(grid_.get(), Qt::Key_Space);
    QVERIFY(!grid_->costRow(2).taxable);
}

void TestCostGrid::ctrlSpaceAsksForCostList()
{
    QSignalSpy spy(grid_.get(), &TCostGrid::costListRequested);
    grid_->setCurrentCell(0, TCostGrid::TaxColumn);
    press(grid_.get(), Qt::Key_Space, Qt::ControlModifier);
    QCOMPARE(spy.count(), 1);
    QVERIFY(!grid_->costRow(0).taxable);

    // Also while a name is being typed; what was typed is kept.
    grid_->setCurrentCell(0, TCostGrid::NameColumn);
    type(grid_.get(), u"ab"_s);
    QVERIFY(qobject_cast<QLineEdit *>(QApplication::focusWidget()));
    press(grid_.get(), Qt::Key_Space, Qt::ControlModifier);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(grid_->costRow(0).name, u"ab"_s);
    grid_->setCurrentCost(u"車検代行料"_s, u"11000"_s);
    QCOMPARE(grid_->costRow(0), row(u"車検代行料"_s, u"11000"_s));
}

void TestCostGrid::deleteRowMovesRowsUp()
{
    grid_->setCostRows({row(u"r1"_s, u"1"_s, true), row(u"r2"_s, u"2"_s), row(u"r3"_s, u"3"_s, true),
                        row(u"r4"_s, u"4"_s, true), row(u"r5"_s, u"5"_s)});
    QSignalSpy spy(grid_.get(), &TCostGrid::rowDeleted);
    grid_->setCurrentCell(2, TCostGrid::NameColumn);
    grid_->deleteCurrentRow();
    QCOMPARE(spy.count(), 1);
    const auto rows = grid_->costRows();
    QCOMPARE(rows[0], row(u"r1"_s, u"1"_s, true));
    QCOMPARE(rows[1], row(u"r2"_s, u"2"_s));
    QCOMPARE(rows[2], row(u"r4"_s, u"4"_s, true));
    QCOMPARE(rows[3], row(u"r5"_s, u"5"_s));
    QCOMPARE(rows[4], SlipData::CostRow{});
}

void TestCostGrid::setCurrentCost()
{
    grid_->setCostRows({row(u"old"_s, u"1"_s, true)});
    QSignalSpy spy(grid_.get(), &TCostGrid::cellEdited);
    grid_->setCurrentCell(0, TCostGrid::PriceColumn);
    grid_->setCurrentCost(u"new"_s, u"2000"_s);
    QCOMPARE(grid_->costRow(0), row(u"new"_s, u"2000"_s, true));
    QCOMPARE(spy.count(), 0);
}

void TestCostGrid::drawing()
{
    grid_->setCostRows({row(u"代行料"_s, u"1234567"_s, true), row(u"x"_s, u"-500"_s)});
    const auto paint = [this](int r, int c, const QRect &rect) {
        RecordingDevice device(QSize(400, 40), 96);
        QPainter p(&device);
        QStyleOptionViewItem option;
        option.initFrom(grid_.get());
        option.rect = rect;
        grid_->itemDelegate()->paint(&p, option, grid_->model()->index(r, c));
        p.end();
        return device.engine.texts;
    };
    const QRect cell(10, 0, 120, 21);
    auto runs = paint(0, TCostGrid::PriceColumn, cell);
    QCOMPARE(runs.size(), 1);
    QCOMPARE(runs[0].text, u"1,234,567"_s);
    QVERIFY(qAbs(runs[0].rect.right() - (cell.right() + 1 - 3)) <= 1.0);

    runs = paint(1, TCostGrid::PriceColumn, cell);
    QCOMPARE(runs[0].text, u"-500"_s);

    runs = paint(0, TCostGrid::NameColumn, cell);
    QCOMPARE(runs[0].text, u"代行料"_s);
    QCOMPARE(runs[0].rect.left(), qreal(cell.left() + 2));

    // The tax flag is an image, never the text "1".
    QVERIFY(paint(0, TCostGrid::TaxColumn, cell).isEmpty());
}

void TestCostGrid::wheelScrollsTheHost()
{
    // The header editor around the grid scrolls on the wheel; the grid must
    // leave the wheel unaccepted so that it travels on to its parents.
    const QPoint pos = grid_->viewport()->rect().center();
    QWheelEvent wheel(pos, grid_->viewport()->mapToGlobal(pos), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid_->viewport(), &wheel);
    QVERIFY(!wheel.isAccepted());
}

QTEST_MAIN(TestCostGrid)
#include "tst_costgrid.moc"
