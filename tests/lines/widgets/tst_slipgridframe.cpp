#include "controls/widgets/TSaNumEdit.h"
#include "lines/RowClipboard.h"
#include "lines/widgets/SlipGridView.h"
#include "lines/widgets/TSlipGridFrame.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

namespace {

const QString Normal = u"部品,-1,オイルフィルター,,0,0,1,1200,1200"_s;
const QString Discount = u"値引,-1,　値引,,0,-500,0,0,-300"_s;
const QString Subtotal = u"小計,-1,　小計,,0,0,0,0,0"_s;

// A shown, active grid with the workshop's categories and a slip rate of 10 %.
struct Grid {
    explicit Grid(const QStringList &texts = {})
    {
        frame.setCategories(
            LineCategoryList::fromLines({u"整備,1"_s, u"部品,2"_s, u"値引,3"_s, u"小計,4"_s}));
        frame.setTaxRate(10 * Fixed::One);
        frame.setLabourRate(8000 * Fixed::One);
        frame.resize(900, frame.heightForRows(9));
        frame.show();
        QApplication::setActiveWindow(&frame);
        frame.ReplaceRows(texts);
    }
    QWidget *focused() const { return QApplication::focusWidget(); }
    // The current row and field as "row:field".
    QString at() const { return u"%1:%2"_s.arg(frame.currentRow()).arg(frame.currentField()); }
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(focused(), Qt::Key(key), modifiers);
    }
    // A click into a cell of the grid, in its upper or lower half.
    void click(int row, int column, bool upper)
    {
        SlipGridView *view = frame.grid();
        const QPoint pos(view->columnLeft(column) + 4, view->rowTop(row) + (upper ? 8 : 34));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, pos);
    }
    QStringList descriptions(int from, int to) const
    {
        QStringList out;
        for (int row = from; row <= to; ++row)
            out.append(frame.rows().at(row - 1).TextA);
        return out;
    }

    TSlipGridFrame frame;
};

QStringList numbered(int count)
{
    QStringList texts;
    for (int i = 1; i <= count; ++i)
        texts.append(u"部品,-1,行%1,,0,0,1,%1,%1"_s.arg(i));
    return texts;
}

} // namespace

class TestSlipGridFrame : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void enterPaths_data();
    void enterPaths();
    void backwardFromCategory_data();
    void backwardFromCategory();
    void mouseHalves();
    void rateEqualToSlipRateFollowsTheSlip();
    void typingIsStoredAfterThePause();
    void categoryChangeClearsRowAndGrowsGrid();
    void valuesTheEditorsCannotShowSurviveAVisit();
    void copyRowsAndPasteElsewhere();
    void deleteBlockWithTheLastRow();
    void deleteEveryRow();
    void ctrlCInDescriptionCopiesRows();
    void ctrlArrowsInsertAndCut();
    void transferOperations();
    void editorsAppearOnceShown();
    void grab();
};

void TestSlipGridFrame::enterPaths_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("visited");
    QTest::newRow("normal: 金額 is never reached") << Normal << u"1:0 1:1 1:2 1:3 1:4 1:5 1:6 1:7 2:0"_s;
    QTest::newRow("discount") << Discount << u"1:0 1:1 1:2 1:5 1:8 2:0"_s;
    QTest::newRow("subtotal") << Subtotal << u"1:0 1:2 2:0"_s;
    QTest::newRow("no category: next row") << u",-1,メモ,,0,0,0,0,0"_s << u"1:0 2:0"_s;
}

void TestSlipGridFrame::enterPaths()
{
    QFETCH(QString, row);
    // Tab walks the same way as Enter and never leaves the grid.
    for (const int key : {Qt::Key_Return, Qt::Key_Tab}) {
        Grid g({row, Normal});
        g.frame.editor(0)->setFocus();
        QStringList visited{g.at()};
        while (g.frame.currentRow() == 1) {
            QVERIFY2(g.frame.isAncestorOf(g.focused()), "the focus left the grid");
            g.press(key);
            visited.append(g.at());
        }
        QTEST(visited.join(u' '), "visited");
        QCOMPARE(g.focused(), g.frame.editor(0));
    }
}

void TestSlipGridFrame::backwardFromCategory_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<int>("startRow");
    QTest::addColumn<QString>("expected");
    QTest::newRow("to the previous row's 金額") << Normal << 2 << u"1:8"_s;
    QTest::newRow("to a subtotal row's 明細") << Subtotal << 2 << u"1:2"_s;
    QTest::newRow("row 1 stays, 金額") << Normal << 1 << u"1:8"_s;
    QTest::newRow("row 1 subtotal stays, 明細") << Subtotal << 1 << u"1:2"_s;
}

void TestSlipGridFrame::backwardFromCategory()
{
    QFETCH(QString, first);
    QFETCH(int, startRow);
    // Shift+Tab goes back as Ctrl+Left does.
    for (const auto &[key, modifiers] :
         {std::pair{Qt::Key_Left, Qt::ControlModifier}, std::pair{Qt::Key_Backtab, Qt::ShiftModifier}}) {
        Grid g({first, Normal});
        g.frame.setCurrentRow(startRow);
        g.frame.editor(0)->setFocus();
        QCOMPARE(g.at(), u"%1:0"_s.arg(startRow));
        g.press(key, modifiers);
        QTEST(g.at(), "expected");
        QCOMPARE(g.focused(), g.frame.editor(g.frame.currentField()));
    }
}

void TestSlipGridFrame::mouseHalves()
{
    Grid g({Normal, Normal});
    g.frame.editor(0)->setFocus();
    g.click(1, 5, true); // upper half of 単価: the description
    QCOMPARE(g.at(), u"1:2"_s);
    QCOMPARE(g.focused(), g.frame.editor(2));
    g.click(1, 7, false); // lower half of 金額 on a normal row: the quantity
    QCOMPARE(g.at(), u"1:7"_s);
    QCOMPARE(g.focused(), g.frame.editor(7));
    g.click(2, 1, true); // another row: it becomes current first
    QCOMPARE(g.frame.currentRow(), 2);

    // The wheel over the category list scrolls the grid, the category stays.
    g.click(2, 1, false);
    QWidget *category = g.frame.editor(0);
    const QPoint at = category->rect().center();
    QWheelEvent wheel(at, category->mapToGlobal(at), {}, QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(category, &wheel);
    QCOMPARE(g.frame.rows().at(1).LineDiv, u"部品"_s);
    QCOMPARE(g.frame.grid()->topRow(), 4);
}

void TestSlipGridFrame::rateEqualToSlipRateFollowsTheSlip()
{
    Grid g({u"部品,8,,,0,0,1,1000,1000"_s});
    g.click(1, 1, true);
    QCOMPARE(g.at(), u"1:1"_s);
    QTest::keyClicks(g.focused(), u"10"_s);
    g.press(Qt::Key_Return);
    QCOMPARE(g.frame.rows().at(0).TaxRate, -Fixed::One);
    g.frame.setTaxRate(5 * Fixed::One);
    QCOMPARE(g.frame.CalcTaxTotal(), qint64(50));
    g.frame.RecalcRows(); // the host's recompute after the slip rate changed
    QCOMPARE(static_cast<TSaNumEdit *>(g.frame.editor(1))->Text(), u"5"_s);
    // A different rate stays the row's own.
    g.click(1, 1, true);
    QTest::keyClicks(g.focused(), u"8"_s);
    g.press(Qt::Key_Return);
    QCOMPARE(g.frame.rows().at(0).TaxRate, 8 * Fixed::One);
}

void TestSlipGridFrame::typingIsStoredAfterThePause()
{
    Grid g({Normal});
    QSignalSpy changed(&g.frame, &TSlipGridFrame::changed);
    g.click(1, 6, false); // 数量
    QCOMPARE(g.at(), u"1:7"_s);
    QTest::keyClicks(g.focused(), u"3"_s);
    QCOMPARE(g.frame.rows().at(0).Count, Fixed::One);
    QCOMPARE(changed.count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 1, 3000);
    QCOMPARE(g.frame.rows().at(0).Count, 3 * Fixed::One);
    QCOMPARE(g.frame.rows().at(0).Price, 3600 * Fixed::One); // recomputed with the row
}

void TestSlipGridFrame::categoryChangeClearsRowAndGrowsGrid()
{
    Grid g(numbered(29));
    QCOMPARE(g.frame.rows().size(), qsizetype(30));
    QSignalSpy changed(&g.frame, &TSlipGridFrame::changed);
    g.frame.setCurrentRow(30);
    auto *category = static_cast<QComboBox *>(g.frame.editor(0));
    category->setCurrentIndex(category->findText(u"値引"_s));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(g.frame.rows().size(), qsizetype(31));
    TRowData expected;
    expected.LineDiv = u"値引"_s;
    expected.TextA = u"　値引"_s;
    QCOMPARE(g.frame.rows().at(29), expected);
    // Changing the category of a filled row discards its values.
    g.frame.setCurrentRow(1);
    category->setCurrentIndex(category->findText(u"整備"_s));
    QCOMPARE(g.frame.rows().at(0).Price, 0);
    QCOMPARE(g.frame.rows().at(0).TextA, QString());
}

void TestSlipGridFrame::valuesTheEditorsCannotShowSurviveAVisit()
{
    // Decimals and digits beyond the editors' limits, and a category that is
    // not in the list, as a file or another workshop's list may bring them.
    const QStringList texts{u"部品,-1,,,0,0,0.125,12345678.5,1543209.8125"_s, u"旧区分,-1,,,0,0,1,5,5"_s};
    Grid g(texts);
    g.frame.setTaxRate(Fixed::fromText(u"8.25"));
    g.frame.setCurrentRow(2);
    g.frame.setCurrentRow(1);
    g.click(1, 1, true); // the rate editor shows 8.2 for the slip's 8.25
    g.press(Qt::Key_Return);
    g.frame.setCurrentRow(3);
    QStringList back;
    g.frame.ExportRows(back);
    QCOMPARE(back, (QStringList{texts.at(0) + u",EOL"_s, texts.at(1) + u",EOL"_s}));
}

void TestSlipGridFrame::copyRowsAndPasteElsewhere()
{
    Grid g(numbered(12));
    QSignalSpy changed(&g.frame, &TSlipGridFrame::changed);
    g.frame.selectRows(3, 5);
    g.frame.grid()->setFocus();
    g.press(Qt::Key_C, Qt::ControlModifier);
    QVERIFY(QGuiApplication::clipboard()->text().startsWith(u"\r\n"_s + RowClipboard::Marker + u"\r\n"_s));
    QCOMPARE(changed.count(), 0);
    g.frame.setCurrentRow(10);
    g.frame.grid()->setFocus();
    g.press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(g.frame.currentRow(), 10);
    QCOMPARE(g.descriptions(9, 14),
             (QStringList{u"行9"_s, u"行3"_s, u"行4"_s, u"行5"_s, u"行10"_s, u"行11"_s}));
    // Foreign text is ignored.
    QGuiApplication::clipboard()->setText(u"部品,-1,a,,0,0,0,0,1,EOL"_s);
    g.press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(g.frame.rows().size(), qsizetype(30));
}

void TestSlipGridFrame::deleteBlockWithTheLastRow()
{
    Grid g(numbered(30));
    QCOMPARE(g.frame.rows().size(), qsizetype(31));
    QSignalSpy changed(&g.frame, &TSlipGridFrame::changed);
    g.frame.selectRows(28, 31);
    g.frame.grid()->setFocus();
    g.press(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(g.frame.currentRow(), 27);
    QCOMPARE(g.frame.rows().at(26).TextA, u"行27"_s);
    QCOMPARE(g.frame.rows().size(), qsizetype(30));
    QCOMPARE(g.frame.rows().at(27), TRowData());
    // A block inside the grid: the row after it becomes current.
    g.frame.selectRows(2, 3);
    g.frame.EditDelete1Execute();
    QCOMPARE(g.frame.currentRow(), 2);
    QCOMPARE(g.frame.rows().at(1).TextA, u"行4"_s);
}

void TestSlipGridFrame::deleteEveryRow()
{
    Grid g(numbered(3));
    g.frame.selectRows(1, 30);
    g.frame.EditDelete1Execute();
    QCOMPARE(g.frame.rows(), QList<TRowData>(30));
    QCOMPARE(static_cast<QLineEdit *>(g.frame.editor(2))->text(), QString());
    g.click(1, 3, true);
    g.press(Qt::Key_Return);
    QCOMPARE(g.frame.rows(), QList<TRowData>(30));
}

void TestSlipGridFrame::ctrlCInDescriptionCopiesRows()
{
    Grid g({Normal, Discount});
    g.click(2, 3, true);
    auto *description = static_cast<QLineEdit *>(g.focused());
    QCOMPARE(description, g.frame.editor(2));
    description->selectAll();
    g.press(Qt::Key_C, Qt::ControlModifier);
    // The discount row keeps its magnitudes on the clipboard.
    QCOMPARE(QGuiApplication::clipboard()->text(),
             u"\r\n"_s + RowClipboard::Marker + u"\r\n値引,-1,　値引,,0,500,0,0,300,EOL\r\n"_s);
}

void TestSlipGridFrame::ctrlArrowsInsertAndCut()
{
    Grid g(numbered(5));
    QSignalSpy changed(&g.frame, &TSlipGridFrame::changed);
    g.frame.setCurrentRow(2);
    g.frame.editor(0)->setFocus();
    QStringList rows;
    for (int key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up}) {
        g.press(key, Qt::ControlModifier);
        rows.append(QString::number(g.frame.currentRow()));
    }
    QCOMPARE(rows.join(u' '), u"3 2 1 1"_s);
    QCOMPARE(g.frame.rows().at(0).LineDiv, u"部品"_s); // the category list did not see the keys

    g.frame.selectRows(2, 3);
    g.press(Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(g.descriptions(1, 5), (QStringList{u"行1"_s, {}, {}, u"行2"_s, u"行3"_s}));

    g.frame.selectRows(4, 5);
    g.press(Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(g.frame.currentRow(), 4);
    QCOMPARE(g.descriptions(1, 5), (QStringList{u"行1"_s, {}, {}, u"行4"_s, u"行5"_s}));
    QCOMPARE(RowClipboard::parse(QGuiApplication::clipboard()->text())->size(), qsizetype(2));
}

void TestSlipGridFrame::transferOperations()
{
    Grid g({Normal, u",-1,メモ,,0,0,0,0,0"_s, Discount});
    QSignalSpy changed(&g.frame, &TSlipGridFrame::changed);
    QStringList texts;
    g.frame.ExportRows(texts);
    QCOMPARE(texts, (QStringList{Normal + u",EOL"_s, u",-1,メモ,,0,0,0,0,0,EOL"_s, Discount + u",EOL"_s}));
    QCOMPARE(g.frame.rows().at(2).Price, 300 * Fixed::One); // positive in memory

    // The item hand-over: recomputed, inserted above, the cursor stays put.
    g.frame.setCurrentRow(2);
    g.frame.InsertRowText(u"整備,-1,点検,,1.5,0,0,0,0,EOL"_s);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(g.frame.currentRow(), 3);
    QCOMPARE(g.frame.rows().at(1).WorkPrice, 12000 * Fixed::One);
    QCOMPARE(g.frame.rows().at(2).TextA, u"メモ"_s);
    g.frame.InsertRowText(u"部品,1,2"_s);
    QCOMPARE(changed.count(), 1);

    // A template's rows: inserted in order, the cursor on the first of them.
    g.frame.InsertRows({u"部品,-1,A,,0,0,2,100,0"_s, u"部品,-1,B,,0,0,1,50,0"_s});
    QCOMPARE(changed.count(), 2);
    QCOMPARE(g.frame.currentRow(), 3);
    QCOMPARE(g.descriptions(3, 5), (QStringList{u"A"_s, u"B"_s, u"メモ"_s}));
    QCOMPARE(g.frame.rows().at(2).Price, 200 * Fixed::One);

    g.frame.ReplaceRows({Subtotal});
    QCOMPARE(changed.count(), 3);
    QCOMPARE(g.frame.currentRow(), 1);
    QCOMPARE(g.frame.rows().size(), qsizetype(30));
    QCOMPARE(static_cast<QLineEdit *>(g.frame.editor(2))->text(), u"　小計"_s);
}

void TestSlipGridFrame::editorsAppearOnceShown()
{
    // The host fills the grid before its section is ever shown.
    TSlipGridFrame frame;
    frame.setCategories(LineCategoryList::fromLines({u"部品,2"_s}));
    frame.ReplaceRows({Normal});
    frame.resize(900, frame.heightForRows(5));
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QVERIFY(frame.editor(0)->isVisible());
    QCOMPARE(frame.editor(0)->geometry().top(), frame.grid()->rowTop(1) + 23);
}

void TestSlipGridFrame::grab()
{
    // A realistic slip for looking at: TORVANE_GRAB=<file.png> saves it.
    const QString target = qEnvironmentVariable("TORVANE_GRAB");
    Grid g({u"整備,-1,エンジンオイル交換,オイル交換,0.5,0,0,0,0"_s,
            u"部品,-1,\"エンジンオイル 5W-30\",,0,0,3.5,1980,0"_s, u"部品,8,オイルエレメント,,0,0,1,1450,0"_s,
            Discount, Subtotal, u"整備,0,\"タイヤ交換 4本\",足回り,1.2,0,0,0,0"_s,
            u"部品,-1,ワイパーブレード,,0,0,2,1234567,0"_s});
    g.frame.RecalcRows();
    g.frame.CalcTecTotal();
    g.frame.CalcPartTotal();
    g.frame.setCurrentRow(2);
    g.click(2, 6, false);
    QCOMPARE(g.at(), u"2:7"_s);
    for (QToolButton *button : g.frame.findChildren<QToolButton *>()) {
        if (button->text() == u"►"_s)
            button->click(); // the row tool panel
    }
    const QPixmap shot = g.frame.grab();
    QVERIFY(!shot.isNull());
    if (!target.isEmpty())
        QVERIFY(shot.save(target));
}

QTEST_MAIN(TestSlipGridFrame)
#include "tst_slipgridframe.moc"
