#include "support/RecordingDevice.h"
#include "support/RenderFolder.h"

#include "platform/TextList.h"
#include "print/JpegImage.h"
#include "print/LogoSetting.h"
#include "print/PageFiles.h"
#include "print/PdfExport.h"
#include "print/TMakeLogo.h"
#include "print/TMakeMataDBM.h"
#include "print/TPrnPlotY.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPicture>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

class CancelOnPage : public RenderObserver {
public:
    explicit CancelOnPage(int page) : page_(page) {}
    void pageStarted(int page) override { current_ = page; }
    bool cancelRequested() override { return page_ > 0 && current_ >= page_; }

private:
    int page_;
    int current_ = 0;
};

} // namespace

class TestRender : public QObject {
    Q_OBJECT

private:
    RenderFolder folder_;
    QString tmp() const { return folder_.tmp(); }

    RenderFolder::Drawn render(const QStringList &lines, QPointF offsetMm = {},
                               RenderObserver *observer = nullptr)
    {
        TPrnPlotY plot(a4Printer());
        return folder_.draw(plot, u"123"_s, lines, offsetMm, observer);
    }

    // Plays page n at one device unit per script unit and records it.
    void playPage(RecordingDevice &device, int n)
    {
        QPainter painter(&device);
        PageFiles::playFile(painter, TPrnPlotY::pageFileName(tmp(), u"123"_s, n), a4Printer().pageSize(),
                            QRectF(QPointF(0, 0), QSizeF(a4Printer().pageSize())));
    }

    QString picture(const QString &name, const char *format)
    {
        const QString path = folder_.path() + name;
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(Qt::red);
        image.save(path, format);
        return path;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(folder_.isValid()); }
    void init() { QVERIFY(folder_.clearTmp()); }

    void pageGeometry_data()
    {
        QTest::addColumn<QSize>("dpi");
        QTest::addColumn<QSize>("physical");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QSize>("page");
        QTest::addColumn<QSize>("corrected");
        QTest::newRow("A4 600 dpi") << QSize(600, 600) << QSize(4960, 7016) << 100 << QSize(2099, 2970)
                                    << QSize(4960, 7016);
        QTest::newRow("600 x 300 dpi")
            << QSize(600, 300) << QSize(4960, 3508) << 100 << QSize(2099, 2970) << QSize(4960, 7016);
        QTest::newRow("scaled 50 %") << QSize(300, 300) << QSize(2480, 3508) << 50 << QSize(1049, 1485)
                                     << QSize(2480, 3508);
    }
    void pageGeometry()
    {
        QFETCH(QSize, dpi);
        QFETCH(QSize, physical);
        QFETCH(int, scale);
        QFETCH(QSize, page);
        QFETCH(QSize, corrected);
        const PageGeometry g(dpi, physical, physical, QPoint(0, 0), scale);
        QCOMPARE(g.pageSize(), page);
        QCOMPARE(g.physicalSize(), corrected);
        QCOMPARE(g.dpi(), std::max(dpi.width(), dpi.height()));
    }

    // The device origin of a printer is the printable area's corner; the page
    // picture still starts on the sheet's corner.
    void pageOriginOnSheetCorner()
    {
        QVERIFY(render({u"line,0,0,1000,0"_s}).result == TMakeMataDBM::Result::Drawn);
        const PageGeometry g = a4Printer();
        RecordingDevice device(g.devicePrintable(), 600);
        {
            QPainter painter(&device);
            PageFiles::playFile(painter, TPrnPlotY::pageFileName(tmp(), u"123"_s, 1), g.pageSize(),
                                g.sheetRectOnDevice());
        }
        QCOMPARE(device.engine.lines.size(), 1);
        const QLineF line = device.engine.lines.first();
        QCOMPARE(line.p1(), QPointF(-94, -118));
        // 100 mm at 600 dpi, less the printable offset.
        QVERIFY(qAbs(line.x2() - (1000 * g.devicePhysical().width() / double(g.pageSize().width()) - 94)) <
                0.5);
    }

    void onePageWithoutPageLines()
    {
        const RenderFolder::Drawn r = render({u"font,\"ＭＳ ゴシック\",40,0,0"_s, u"text,請求書,100,100"_s});
        QVERIFY(r.result == TMakeMataDBM::Result::Drawn);
        QCOMPARE(r.pages, 1);
        QCOMPARE(QDir(tmp()).entryList(QDir::Files), QStringList{u"123_PTmp1.pic"_s});
    }

    void pagesFollowPageLines()
    {
        const RenderFolder::Drawn r = render({u"text,a,1,1"_s, u"page"_s, u"PAGE"_s, u"text,b,1,1"_s});
        QCOMPARE(r.pages, 3);
        QCOMPARE(QDir(tmp()).entryList(QDir::Files).size(), 3);
    }

    void textBeforeFontUsesMenuFont()
    {
        render({u"text,最初,100,100"_s, u"font,\"ＭＳ 明朝\",40,3,0"_s, u"text,次,100,200"_s});
        RecordingDevice device;
        playPage(device, 1);
        QCOMPARE(device.engine.texts.size(), 2);
        QCOMPARE(device.engine.texts[0].family, QGuiApplication::font().family());
        QCOMPARE(device.engine.texts[1].family, u"ＭＳ 明朝"_s);
        QVERIFY(device.engine.texts[1].bold && device.engine.texts[1].italic);
    }

    // Every element moves by the correction: mm × 10, truncated toward zero.
    void corrections_data()
    {
        QTest::addColumn<double>("mm");
        QTest::addColumn<int>("shift");
        QTest::newRow("none") << 0.0 << 0;
        QTest::newRow("1.5 mm") << 1.5 << 15;
        QTest::newRow("-0.25 mm") << -0.25 << -2;
        QTest::newRow("-0.26 mm") << -0.26 << -2;
    }
    void corrections()
    {
        QFETCH(double, mm);
        QFETCH(int, shift);
        render({u"font,\"ＭＳ ゴシック\",40,0,0"_s, u"rtext,右寄せ,1000,500"_s, u"ctext,中央,1000,700"_s,
                u"line,100,100,200,300"_s},
               QPointF(mm, -mm));
        RecordingDevice device;
        playPage(device, 1);
        QCOMPARE(device.engine.texts.size(), 2);
        const QRectF right = device.engine.texts[0].rect;
        QVERIFY2(qAbs(right.right() - (1000 + shift)) < 0.01, qPrintable(QString::number(right.right())));
        const QRectF centre = device.engine.texts[1].rect;
        QVERIFY(qAbs((centre.left() + centre.right()) / 2 - (1000 + shift)) <= 1);
        QCOMPARE(device.engine.lines.value(0), QLineF(100 + shift, 100 - shift, 200 + shift, 300 - shift));
    }

    void shapes()
    {
        render({u"lbox,10,20,110,220"_s, u"fill,0,0,50,50"_s, u"ellipse,5,5,25,45"_s, u"back,x.bmp"_s,
                u"nonsense,1,2"_s, u"line,abc,10,20,30"_s});
        RecordingDevice device;
        playPage(device, 1);
        QVERIFY(device.engine.lines.contains(QLineF(110, 20, 110, 220)));
        QVERIFY(device.engine.lines.contains(QLineF(10, 220, 10, 20)));
        QCOMPARE(device.engine.rects.value(0), QRectF(0, 0, 50, 50));
        QCOMPARE(device.engine.ellipses.value(0), QRectF(5, 5, 20, 40));
        // A coordinate that is no number counts as 0.
        QCOMPARE(device.engine.lines.last(), QLineF(0, 10, 20, 30));
    }

    void pictures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<int>("drawn");
        QTest::newRow("jpg") << u"logo.JPG"_s << QByteArray("JPG") << 1;
        QTest::newRow("bmp") << u"logo.bmp"_s << QByteArray("BMP") << 1;
        QTest::newRow("png") << u"logo.png"_s << QByteArray("PNG") << 0;
        QTest::newRow("jpeg extension") << u"logo.jpeg"_s << QByteArray("JPG") << 0;
        QTest::newRow("missing") << u"none.jpg"_s << QByteArray() << 0;
    }
    void pictures()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, format);
        QFETCH(int, drawn);
        QString path = folder_.path() + name;
        QFile::remove(path);
        if (!format.isEmpty())
            path = picture(name, format.constData());
        const RenderFolder::Drawn r = render({u"pict,100,200,300,300,"_s + CommaText(path)});
        QVERIFY(r.result == TMakeMataDBM::Result::Drawn);
        RecordingDevice device;
        playPage(device, 1);
        QCOMPARE(device.engine.images.size(), drawn);
        if (drawn)
            QCOMPARE(device.engine.images.first(), QRectF(100, 200, 200, 100));
    }

    // A picture that is there but is no picture ends the run with a reason.
    void brokenPictureEndsRun_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QTest::newRow("not a jpeg") << QByteArray("hello, world") << u"bad.jpg"_s;
        QTest::newRow("truncated jpeg header")
            << QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10) << u"cut.jpg"_s;
        QTest::newRow("empty bmp") << QByteArray() << u"empty.bmp"_s;
    }
    void brokenPictureEndsRun()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        const QString path = folder_.path() + name;
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        const RenderFolder::Drawn r =
            render({u"text,a,1,1"_s, u"pict,0,0,10,10,"_s + CommaText(path), u"page"_s});
        QVERIFY(r.result == TMakeMataDBM::Result::Failed);
        QVERIFY2(r.error.contains(name), qPrintable(r.error));
        QCOMPARE(r.pages, 1); // the page drawn so far is saved for the caller to delete
    }

    void jpegDecodes()
    {
        QString error;
        const QImage image = JpegImage::load(picture(u"ok.jpg"_s, "JPG"), &error);
        QVERIFY2(!image.isNull(), qPrintable(error));
        QCOMPARE(image.size(), QSize(40, 20));
        QVERIFY(qRed(image.pixel(10, 10)) > 200 && qGreen(image.pixel(10, 10)) < 60);
    }

    // The logo canvas maps onto the item's box; at twice its size a picture at
    // (10, 20) sized 100 × 50 lands at (+20, +40) sized 200 × 100.
    void logoPlacement()
    {
        QStringList lines = LogoSetting::defaults().lines();
        lines[18] = picture(u"mark.bmp"_s, "BMP");
        lines[19] = u"10"_s;
        lines[20] = u"20"_s;
        lines[21] = u"100"_s;
        lines[22] = u"50"_s;
        const QString logo = folder_.path() + u"Logo.Dat"_s;
        QVERIFY(TextList::write(logo, lines));
        render({QStringList{u"logo"_s, u"300"_s, u"400"_s, u"1150"_s, u"754"_s, logo}.join(u','), u"page"_s,
                u"logo,0,0,425,177,"_s + CommaText(folder_.path() + u"missing.Dat"_s)});
        RecordingDevice device;
        playPage(device, 1);
        QCOMPARE(device.engine.images.size(), 1);
        QCOMPARE(device.engine.images.first(), QRectF(320, 440, 200, 100));
        QStringList texts;
        for (const auto &t : std::as_const(device.engine.texts))
            texts << t.text.trimmed();
        QVERIFY(texts.contains(u"社名を入力してください"_s));
        QVERIFY(texts.contains(u"都道府県市区町村"_s));
        // Company name at the box's top-left corner, at twice the canvas.
        QVERIFY(qAbs(device.engine.texts.first().rect.left() - 300) < 0.5);

        RecordingDevice second;
        playPage(second, 2);
        QVERIFY(second.engine.texts.isEmpty());
    }

    void logoStyles_data()
    {
        QTest::addColumn<QString>("style");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::newRow("0") << u"0"_s << false << false;
        QTest::newRow("1") << u"1"_s << true << false;
        QTest::newRow("2") << u"2"_s << false << true;
        QTest::newRow("3") << u"3"_s << true << true;
        QTest::newRow("4") << u"4"_s << false << false;
        QTest::newRow("not a number") << u"x"_s << false << false;
    }
    void logoStyles()
    {
        QFETCH(QString, style);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QStringList lines = LogoSetting::defaults().lines();
        lines[1] = style;
        lines[18] = picture(u"mark.gif"_s, "PNG"); // any picture that is not JPEG or BMP: texts only
        TMakeLogo logo;
        logo.render(LogoSetting(lines));
        QCOMPARE(logo.picture().boundingRect(), QRect(0, 0, 425, 177));
        RecordingDevice device(QSize(425, 177), 96);
        QPainter painter(&device);
        PageFiles::playStretched(painter, logo.picture(), QRectF(0, 0, 425, 177), QRectF(0, 0, 425, 177));
        painter.end();
        QVERIFY(device.engine.images.isEmpty());
        QCOMPARE(device.engine.texts.size(), 10);
        QCOMPARE(device.engine.texts[0].bold, bold);
        QCOMPARE(device.engine.texts[0].italic, italic);
        QCOMPARE(device.engine.texts[0].text, u"社名を入力してください     "_s);
        QVERIFY(!device.engine.texts[2].bold); // the address block keeps its own style
    }

    void logoDefaultsCreated()
    {
        const QString app = folder_.path() + u"app/"_s;
        QVERIFY(LogoSetting::ensureDefaults(app));
        QCOMPARE(TextList::read(app + u"Dat/Mst/LogoList"_s), QStringList{u"デフォルト"_s});
        const QStringList lines = TextList::read(app + u"Dat/Etc/デフォルト.Dat"_s);
        QCOMPARE(lines.size(), LogoSetting::LineCount);
        QCOMPARE(lines, LogoSetting::defaults().lines());
        // An existing setting is left alone, found under another spelling.
        QVERIFY(QFile::rename(app + u"Dat/Etc/デフォルト.Dat"_s, app + u"Dat/Etc/デフォルト.dat"_s));
        QVERIFY(TextList::write(app + u"Dat/Etc/デフォルト.dat"_s, {u"own"_s}));
        QVERIFY(LogoSetting::ensureDefaults(app));
        QCOMPARE(QDir(app + u"Dat/Etc"_s).entryList(QDir::Files).size(), 1);
    }

    // Cancelling leaves the pages drawn so far on disk; the run deletes them.
    void cancelOnPageThree()
    {
        CancelOnPage observer(3);
        const RenderFolder::Drawn r = render({u"text,1,1,1"_s, u"page"_s, u"text,2,1,1"_s, u"page"_s,
                                              u"text,3,1,1"_s, u"page"_s, u"text,4,1,1"_s},
                                             {}, &observer);
        QVERIFY(r.result == TMakeMataDBM::Result::Cancelled);
        QCOMPARE(r.pages, 3);
        QCOMPARE(PageFiles::remove(tmp(), u"123"_s, r.pages), 3);
        QVERIFY(QDir(tmp()).entryList(QDir::Files).isEmpty());
    }

    // The PDF takes each page as it is drawn: no page file is written, the
    // pages arrive in order, and a run that fails leaves an earlier PDF of
    // that name as it was.
    void pdfTakesPagesAsDrawn()
    {
        QVERIFY(folder_.clearTmp());
        const QString pdf = folder_.path() + u"out.pdf"_s;
        PdfExport::Job job;
        job.pdfPath = pdf;
        job.title = u"out - Torvane"_s;
        job.scriptPath = folder_.writeScript(
            {u"text,1,100,100"_s, u"page"_s, u"text,2,100,100"_s, u"page"_s, u"text,3,100,100"_s});
        QString error;
        QVERIFY2(PdfExport::write(job, &error), qPrintable(error));
        QCOMPARE(folder_.tmpFileCount(), 0);
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        file.close();
        QVERIFY(written.startsWith("%PDF"));
        QCOMPARE(QString::fromLatin1(written).count(QRegularExpression(u"/Type /Page\\b(?!s)"_s)), 3);

        // An empty picture file ends the run on page 2.
        const QString broken = folder_.path() + u"broken.jpg"_s;
        QVERIFY(QFile(broken).open(QIODevice::WriteOnly));
        job.scriptPath = folder_.writeScript(
            {u"text,1,100,100"_s, u"page"_s, u"pict,0,0,10,10,"_s + CommaText(broken), u"page"_s});
        QVERIFY(!PdfExport::write(job, &error));
        QVERIFY2(error.contains(u"broken.jpg"_s), qPrintable(error));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), written);
        QCOMPARE(folder_.tmpFileCount(), 0);
        QCOMPARE(QDir(folder_.path()).entryList({u"out.pdf*"_s}, QDir::Files), QStringList{u"out.pdf"_s});
    }

    void noScript()
    {
        TMakeMataDBM renderer;
        renderer.SetScript(folder_.path() + u"nothing"_s);
        QVERIFY(renderer.script().isEmpty());
        TPrnPlotY plot(a4Printer());
        QVERIFY(renderer.DrawPages(plot) == TMakeMataDBM::Result::NoScript);
        QCOMPARE(plot.pageCount(), 0);
    }

private:
    static QString CommaText(const QString &field) { return u'"' + field + u'"'; }
};

QTEST_MAIN(TestRender)
#include "tst_render.moc"
