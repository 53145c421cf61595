#include "print/TSlipMakeDBM.h"
#include "print/widgets/TProgressForm.h"

#include <QBuffer>
#include <QLabel>
#include <QProgressBar>
#include <QTest>

using namespace Qt::StringLiterals;

class TestProgressForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void shownDuringGenerationAndHiddenAfter();
};

void TestProgressForm::shownDuringGenerationAndHiddenAfter()
{
    QWidget mainWindow;
    mainWindow.resize(800, 600);
    mainWindow.show();
    TProgressForm form(&mainWindow);
    QVERIFY(form.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!(form.windowFlags() & Qt::WindowCloseButtonHint));

    PrintRunInputs in;
    in.formatPath = QStringLiteral(TORVANE_FIXTURES "/print/pages.fmt");
    in.snapshotPath = QStringLiteral(TORVANE_FIXTURES "/print/seven.tvx");
    in.enabled = {true, true, false, false};
    TSlipMakeDBM dbm(in, &form);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QVERIFY(dbm.WritePrintData(out));

    QCOMPARE(form.windowTitle(), u"処理中..."_s);
    QCOMPARE(form.Label1->text(), u"印刷データを作成しています..."_s);
    QCOMPARE(form.ProgressBar1->maximum(), 5 * 4 * 3);
    QCOMPARE(form.ProgressBar1->value(), 5 * 3 + 5 * 2 + 5);
    QVERIFY(!form.isVisible());
}

QTEST_MAIN(TestProgressForm)
#include "tst_progressform.moc"
