#include "controls/widgets/TSizeGrip.h"

#include <QTest>

class TestTSizeGrip : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void staysInTheLowerRightCorner();
};

void TestTSizeGrip::staysInTheLowerRightCorner()
{
    QWidget dialog;
    dialog.resize(560, 320);
    auto *grip = new TSizeGrip(&dialog);
    dialog.show();
    QCOMPARE(grip->geometry(), QRect(548, 308, 12, 12));
    dialog.resize(600, 400);
    QCOMPARE(grip->geometry(), QRect(588, 388, 12, 12));
    QWidget other;
    other.resize(100, 50);
    grip->setParent(&other);
    QCOMPARE(grip->pos(), QPoint(88, 38));
    dialog.resize(300, 300); // the old parent no longer moves it
    QCOMPARE(grip->pos(), QPoint(88, 38));
    QCOMPARE(grip->cursor().shape(), Qt::SizeFDiagCursor);
}

QTEST_MAIN(TestTSizeGrip)
#include "tst_tsizegrip.moc"
