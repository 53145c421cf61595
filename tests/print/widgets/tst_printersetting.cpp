#include "FakePrinting.h"
#include "support/FakeMessageService.h"
#include "support/RenderFolder.h"
#include "support/TestAppFolder.h"

#include "platform/IniFile.h"
#include "platform/TextList.h"
#include "print/widgets/PrintRun.h"
#include "print/widgets/TPrinterSettingForm.h"

#include <QApplication>

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

class TestPrinterSetting : public QObject {
    Q_OBJECT

private:
    RenderFolder folder_;
    QString app() const { return folder_.path(); }
    QString ini() const { return folder_.settingsPath(); }

    PrinterSettingValues values() const
    {
        PrinterSettingValues v;
        v.slipKindName = u"見積書"_s;
        v.titles = {u"見積書"_s, u"見積書(控)"_s, QString(), QString()};
        v.copies = {true, true, false, false};
        v.formatPath = folder_.formatPath();
        v.logoPath = app() + u"Dat/Etc/デフォルト.Dat"_s;
        v.fixX = 1.5;
        v.fixY = -0.5;
        return v;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(folder_.isValid());
        QVERIFY(QDir().mkpath(app() + u"Dat/Mst"_s));
        QVERIFY(QDir().mkpath(app() + u"Dat/Etc"_s));
        QVERIFY(TextList::write(app() + u"Dat/Mst/LogoList"_s, {u"デフォルト"_s, u"支店"_s}));
        QVERIFY(TextList::write(app() + u"Dat/Etc/デフォルト.Dat"_s, {u"x"_s}));
    }
    void init() { QFile::remove(ini()); }

    // The real service sits behind this: nothing is asked of the printers
    // until an operation is used, then the one service made answers all.
    void lazyServiceAsksOnFirstUse()
    {
        int made = 0;
        FakePrinters *fake = nullptr;
        const auto lazy = makeLazyPrinterService([&]() -> std::unique_ptr<PrinterService> {
            ++made;
            auto printers = std::make_unique<FakePrinters>();
            fake = printers.get();
            return printers;
        });
        QCOMPARE(made, 0);
        QCOMPARE(lazy->printerNames(), (QStringList{u"Office"_s, u"Label"_s}));
        lazy->selectPrinter(1);
        QCOMPARE(lazy->currentPrinterName(), u"Label"_s);
        QCOMPARE(made, 1);
        QCOMPARE(fake->current, 1);
    }

    void valuesInAndOut()
    {
        FakePrinters printers;
        FakeMessageService messages;
        TPrinterSettingForm form(app(), ini(), printers, messages);
        form.setValues(values());
        QCOMPARE(form.SlpComBox->currentText(), u"invoice"_s);
        QCOMPARE(form.JsComBox->currentText(), u"デフォルト"_s);
        QCOMPARE(form.StringGrid1->horizontalHeaderItem(0)->text(), u"見積書"_s);
        QCOMPARE(form.StateLabel1->text(), u"準備完了"_s);
        QCOMPARE(form.StateLabel3->text(), u"usb://fake"_s);
        form.StringGrid1->item(2, 0)->setText(u"お客様控"_s);
        form.CheckListBox1->item(2)->setCheckState(Qt::Checked);
        // A setting whose file has gone yields an empty path.
        form.JsComBox->setCurrentIndex(1);
        const PrinterSettingValues out = form.values();
        QCOMPARE(out.titles[2], u"お客様控"_s);
        QVERIFY(out.copies[2]);
        QCOMPARE(out.formatPath, folder_.formatPath());
        QVERIFY(out.logoPath.isEmpty());
        QCOMPARE(out.fixX, 1.5);
    }

    void unlistedFormatGivesEmptyPath()
    {
        FakePrinters printers;
        FakeMessageService messages;
        TPrinterSettingForm form(app(), ini(), printers, messages);
        PrinterSettingValues v = values();
        v.formatPath = app() + u"Dat/Fmt/gone.fmt"_s;
        form.setValues(v);
        QCOMPARE(form.SlpComBox->currentIndex(), -1);
        QVERIFY(form.values().formatPath.isEmpty());
    }

    // Cancel puts back the first printer and its paper size, and still
    // writes the corrections shown.
    void cancelRestoresPrinterAndWritesCorrections()
    {
        FakePrinters printers;
        FakeMessageService messages;
        {
            TPrinterSettingForm form(app(), ini(), printers, messages);
            form.setValues(values());
            form.SzComboBox->setCurrentIndex(2);
            QCOMPARE(printers.printers[0].size, 2);
            form.OrRadioButton2->click();
            QVERIFY(printers.printers[0].landscape);
            form.PrComboBox->setCurrentIndex(1);
            QCOMPARE(printers.current, 1);
            // The label printer reports no paper sizes.
            QVERIFY(!form.SzComboBox->isEnabled());
            QCOMPARE(form.SzComboBox->count(), 0);
            form.SpinFloatEditX->setValue(2.5);
            QTimer::singleShot(0, form.CancelButton, &QPushButton::click);
            QCOMPARE(form.run(), int(QDialog::Rejected));
        }
        QCOMPARE(printers.current, 0);
        QCOMPARE(printers.printers[0].size, 0);
        QVERIFY(!printers.printers[0].landscape);
        const IniFile settings(ini());
        QCOMPARE(settings.readString(u"Print"_s, u"Fix_X"_s), u"2.5"_s);
        QCOMPARE(settings.readString(u"Print"_s, u"Fix_Y"_s), u"-0.5"_s);
    }

    void buttonsEndTheDialog_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("result");
        QTest::newRow("OK") << u"ok"_s << int(QDialog::Accepted);
        QTest::newRow("preview") << u"preview"_s << TPrinterSettingForm::PreviewResult;
    }
    void buttonsEndTheDialog()
    {
        QFETCH(QString, button);
        QFETCH(int, result);
        FakePrinters printers;
        FakeMessageService messages;
        TPrinterSettingForm form(app(), ini(), printers, messages);
        form.setValues(values());
        form.SzComboBox->setCurrentIndex(1);
        QPushButton *b = button == u"ok" ? form.OkButton : form.PreviewButton;
        QTimer::singleShot(0, b, &QPushButton::click);
        QCOMPARE(form.run(), result);
        QCOMPARE(printers.printers[0].size, 1); // kept
    }

    // The printer setup command: no preview button; on OK the dialog's values
    // become the run's settings for the slip's kind.
    void printRunTakesTheValues()
    {
        FakePrinters printers;
        FakeMessageService messages;
        PrintRun run({app(), ini(), u"1"_s, {}}, printers, messages, nullptr);
        bool previewShown = true;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *form = qobject_cast<TPrinterSettingForm *>(QApplication::activeModalWidget());
            if (!form)
                return;
            poll.stop();
            previewShown = form->PreviewButton->isVisible();
            form->StringGrid1->item(0, 0)->setText(u"御見積書"_s);
            form->SlpComBox->setCurrentIndex(form->SlpComBox->findText(u"invoice"_s));
            form->SpinFloatEditY->setValue(3.0);
            form->OkButton->click();
        });
        poll.start(10);
        QVERIFY(run.printerSetup(0, false) == PrintRun::Setup::Print);
        QVERIFY(!previewShown);
        QCOMPARE(run.settings().titles[0][0], u"御見積書"_s);
        QCOMPARE(run.settings().titles[1][0], u"作業指示書"_s);
        QCOMPARE(run.settings().formatOf(0), folder_.formatPath());
        QCOMPARE(run.settings().fixY, 3.0);
    }

    // The bundled defaults give each slip kind its own design and titles;
    // the dialog opens on the design of the slip's kind, and a design chosen
    // there stays with that kind.
    void designPerKind()
    {
        TestAppFolder bundled;
        const QString fmt = bundled.path() + u"Dat/Fmt/"_s;
        const PrintSettings defaults = PrintSettings::load(bundled.path(), bundled.filePath(u"t.ini"_s));
        QCOMPARE(defaults.formatOf(0), fmt + u"見積書.fmt"_s);
        QCOMPARE(defaults.formatOf(1), fmt + u"作業指示書.fmt"_s);
        QCOMPARE(defaults.formatOf(2), fmt + u"納品請求書.fmt"_s);
        QCOMPARE(defaults.titlesOf(2)[0], u"納品請求書"_s);

        FakePrinters printers;
        FakeMessageService messages;
        PrintRun run({bundled.path(), bundled.filePath(u"t.ini"_s), u"1"_s, {}}, printers, messages, nullptr);
        QString shown;
        QString title;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *form = qobject_cast<TPrinterSettingForm *>(QApplication::activeModalWidget());
            if (!form)
                return;
            poll.stop();
            shown = form->SlpComBox->currentText();
            title = form->StringGrid1->item(0, 0)->text();
            form->SlpComBox->setCurrentIndex(form->SlpComBox->findText(u"見積書"_s));
            form->OkButton->click();
        });
        poll.start(10);
        QVERIFY(run.printerSetup(2, false) == PrintRun::Setup::Print);
        QCOMPARE(shown, u"納品請求書"_s);
        QCOMPARE(title, u"納品請求書"_s);
        QCOMPARE(run.settings().formatOf(2), fmt + u"見積書.fmt"_s);
        QCOMPARE(run.settings().formatOf(1), fmt + u"作業指示書.fmt"_s);
    }

    void noPrinter()
    {
        FakePrinters printers;
        printers.printers.clear();
        FakeMessageService messages;
        TPrinterSettingForm form(app(), ini(), printers, messages);
        QCOMPARE(form.run(), int(QDialog::Rejected));
        QCOMPARE(messages.calls, (QList<FakeMessageService::Call>{
                                     {FakeMessageService::Box::Error, u"有効なプリンタが見つかりません"_s}}));
    }

    void grabDialog()
    {
        const QByteArray shots = qgetenv("TORVANE_SHOTS");
        if (shots.isEmpty())
            QSKIP("set TORVANE_SHOTS to a folder to save window pictures");
        FakePrinters printers;
        FakeMessageService messages;
        TPrinterSettingForm form(app(), ini(), printers, messages);
        form.setValues(values());
        form.show();
        QTest::qWait(50);
        QVERIFY(form.grab().save(QString::fromLocal8Bit(shots) + u"/printer-setting.png"_s));
    }
};

QTEST_MAIN(TestPrinterSetting)
#include "tst_printersetting.moc"
