#include "support/FakeMessageService.h"
#include "support/TestAppFolder.h"

#include "app/HelpTopics.h"
#include "app/HelpViewer.h"
#include "app/TMainForm.h"
#include "app/TOptionForm.h"

#include "lines/widgets/TSlipGridFrame.h"
#include "master/widgets/TFrame1.h"
#include "master/widgets/TMemoSelForm.h"
#include "platform/HelpRequest.h"
#include "slip/widgets/TSlipFrame.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

// The pages as the program finds them: copied beside the test executables
// by the build, as beside the program.
QString helpFolder()
{
    return HelpTopics::folder(QCoreApplication::applicationDirPath());
}

QString readPage(const QString &name)
{
    QFile file(QDir(helpFolder()).filePath(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The page file of an address ("page.html#part" → page.html), and whether
// its anchor (when any) is in the page.
void verifyTarget(const QString &from, const QString &target)
{
    const QString file = target.section(u'#', 0, 0);
    const QString anchor = target.section(u'#', 1);
    const QString path = file.isEmpty() ? from : file;
    QVERIFY2(QFile::exists(QDir(helpFolder()).filePath(path)), qPrintable(from + u" → "_s + target));
    if (!anchor.isEmpty())
        QVERIFY2(readPage(path).contains(u"name=\""_s + anchor + u'"'), qPrintable(from + u" → "_s + target));
}

QString fileOf(const QTextBrowser *browser)
{
    return QFileInfo(browser->source().toLocalFile()).fileName();
}

} // namespace

class TestHelp : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void everyTopicHasAPage_data();
    void everyTopicHasAPage();
    void linksResolve_data();
    void linksResolve();
    void searchFindsPages_data();
    void searchFindsPages();
    void viewerShowsTopicsWithHistory();
    void mainWindowOpensContextHelp();
    void dialogHelpButtonsFollowTheHandler();
    void grabForReview();
};

void TestHelp::initTestCase()
{
    QVERIFY2(!helpFolder().isEmpty(), "no help folder beside the executable");
}

// Every number a window or dialog asks for, listed here on its own so that a
// number missing from the program's table fails.
void TestHelp::everyTopicHasAPage_data()
{
    QTest::addColumn<int>("topic");
    QTest::addColumn<QString>("page");
    const struct {
        int topic;
        const char16_t *page;
    } rows[] = {
        {16, u"slip.html"},      {22, u"lines.html"},     {23, u"pricelist.html"}, {24, u"options.html"},
        {25, u"options.html"},   {26, u"options.html"},   {27, u"zip.html"},       {28, u"masters.html"},
        {29, u"printing.html"},  {33, u"start.html"},     {37, u"masters.html"},   {39, u"printing.html"},
        {44, u"templates.html"}, {45, u"templates.html"},
    };
    for (const auto &row : rows)
        QTest::addRow("%d", row.topic) << row.topic << QString::fromUtf16(row.page);
    // And nothing in the table the test does not know.
    QCOMPARE(HelpTopics::numbers().size(), qsizetype(std::size(rows)));
}

void TestHelp::everyTopicHasAPage()
{
    QFETCH(int, topic);
    QFETCH(QString, page);
    const QString target = HelpTopics::pageOf(topic);
    QCOMPARE(target.section(u'#', 0, 0), page);
    verifyTarget(u"topic"_s, target);
    QVERIFY(readPage(page).contains(u"<html lang=\"ja\">"_s));
}

void TestHelp::linksResolve_data()
{
    QTest::addColumn<QString>("page");
    const QStringList pages = QDir(helpFolder()).entryList({u"*.html"_s}, QDir::Files, QDir::Name);
    QVERIFY(pages.contains(QString::fromUtf16(HelpTopics::IndexPage)));
    for (const QString &page : pages)
        QTest::newRow(qPrintable(page)) << page;
}

void TestHelp::linksResolve()
{
    QFETCH(QString, page);
    const QString html = readPage(page);
    static const QRegularExpression link(u"(?:href|src)=\"([^\"]*)\""_s);
    int local = 0;
    for (auto it = link.globalMatch(html); it.hasNext();) {
        const QString target = it.next().captured(1);
        if (target.startsWith(u"http"_s))
            continue;
        verifyTarget(page, target);
        ++local;
    }
    QVERIFY2(local > 0 || page == u"index.html", "every page leads back to the contents");
    // Every page but the contents is reachable from the contents.
    if (page != u"index.html")
        QVERIFY2(readPage(u"index.html"_s).contains(u"href=\""_s + page + u'"'), qPrintable(page));
}

void TestHelp::searchFindsPages_data()
{
    QTest::addColumn<QString>("words");
    QTest::addColumn<QString>("first");
    QTest::addRow("file name") << u"KEN_ALL"_s << u"zip.html"_s;
    QTest::addRow("half-width kana") << u"ﾃﾝﾌﾟﾚｰﾄ"_s << u"templates.html"_s;
    QTest::addRow("hiragana for katakana, title first") << u"いんぼいす"_s << u"invoice.html"_s;
    QTest::addRow("all words must be there") << u"IfValue EraDateFormat"_s << u"formats.html"_s;
    QTest::addRow("command line") << u"--zip-search"_s << u"commandline.html"_s;
    QTest::addRow("nothing") << u"ジェットエンジン"_s << QString();
}

void TestHelp::searchFindsPages()
{
    QFETCH(QString, words);
    QFETCH(QString, first);
    const QList<HelpTopics::Hit> hits = HelpTopics::search(helpFolder(), words);
    if (first.isEmpty()) {
        QVERIFY(hits.isEmpty());
        return;
    }
    QVERIFY(!hits.isEmpty());
    QCOMPARE(hits.first().page, first);
    QVERIFY(!hits.first().title.isEmpty());
}

void TestHelp::viewerShowsTopicsWithHistory()
{
    HelpViewer viewer(helpFolder());
    viewer.showTopic(27);
    QCOMPARE(fileOf(viewer.browser()), u"zip.html"_s);
    QCOMPARE(viewer.browser()->documentTitle(), u"郵便番号辞書"_s);
    viewer.showTopic(37);
    QCOMPARE(fileOf(viewer.browser()), u"masters.html"_s);
    QCOMPARE(viewer.browser()->source().fragment(), u"tax"_s);
    viewer.showTopic(9999); // unknown: the contents
    QCOMPARE(fileOf(viewer.browser()), u"index.html"_s);
    viewer.browser()->backward();
    viewer.browser()->backward();
    QCOMPARE(fileOf(viewer.browser()), u"zip.html"_s);
    viewer.browser()->forward();
    QCOMPARE(fileOf(viewer.browser()), u"masters.html"_s);

    viewer.showSearch(u"ﾌﾞﾚｰｷ"_s);
    QVERIFY(viewer.hitList()->count() > 0);
    QCOMPARE(fileOf(viewer.browser()), u"pricelist.html"_s);
}

void TestHelp::mainWindowOpensContextHelp()
{
    TestAppFolder app;
    FakeMessageService messages;
    TMainFormEnvironment env;
    env.appDir = app.path();
    env.settingsPath = app.filePath(u"torvane.ini"_s);
    env.program = u"torvane"_s;
    env.messages = &messages;
    TMainForm form(env);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    for (const char *name : {"HelpIndexAction", "HelpTopicAction", "N5"})
        QVERIFY(form.action(QString::fromUtf8(name))->isEnabled());
    // Built without a project page: "最新情報" is not offered.
    QVERIFY(!form.action(u"N6"_s)->isVisible());

    form.action(u"SecOpenAction"_s)->trigger();
    // The grid takes the focus in its view or one of its editors.
    QWidget *gridPart = nullptr;
    for (QWidget *w : form.findChild<TSlipGridFrame *>()->findChildren<QWidget *>()) {
        if (w->isVisible() && (w->focusPolicy() & Qt::TabFocus)) {
            gridPart = w;
            break;
        }
    }
    const struct {
        QWidget *focus;
        const char16_t *page;
    } areas[] = {{gridPart, u"lines.html"},
                 {form.findChild<QLineEdit *>(u"CuNameEdit"_s), u"slip.html"},
                 {form.itemFrame()->findChild<QLineEdit *>(), u"pricelist.html"}};
    for (const auto &area : areas) {
        QVERIFY(area.focus);
        area.focus->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        QVERIFY(form.helpViewer());
        QCOMPARE(fileOf(form.helpViewer()->browser()), QString::fromUtf16(area.page));
    }
    form.action(u"HelpIndexAction"_s)->trigger();
    QCOMPARE(fileOf(form.helpViewer()->browser()), u"index.html"_s);
    form.action(u"N5"_s)->trigger();
    QCOMPARE(fileOf(form.helpViewer()->browser()), u"start.html"_s);
    form.action(u"HelpTopicAction"_s)->trigger();
    QVERIFY(form.helpViewer()->searchField()->isVisible());

    // A dialog's help goes through the handler the window installed.
    HelpRequest::show(26);
    QCOMPARE(fileOf(form.helpViewer()->browser()), u"options.html"_s);
    QVERIFY(messages.calls.isEmpty());
}

void TestHelp::dialogHelpButtonsFollowTheHandler()
{
    HelpRequest::setHandler({});
    {
        TMemoSelForm form(QString{});
        QVERIFY(!form.Button4->isEnabled());
    }
    QList<int> asked;
    HelpRequest::setHandler([&asked](int topic) { asked << topic; });
    {
        TMemoSelForm form(QString{});
        QVERIFY(form.Button4->isEnabled());
        form.Button4->click();
    }
    HelpRequest::setHandler({});
    QCOMPARE(asked, QList<int>{44});
}

void TestHelp::grabForReview()
{
    const QString dir = qEnvironmentVariable("TORVANE_GRAB_DIR");
    if (dir.isEmpty())
        QSKIP("set TORVANE_GRAB_DIR to write pictures");
    QDir().mkpath(dir);
    HelpViewer viewer(helpFolder());
    viewer.resize(900, 680);
    for (const auto &[topic, name] : {std::pair{33, "help-start.png"}, std::pair{22, "help-lines.png"}}) {
        viewer.showTopic(topic);
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        viewer.grab().save(QDir(dir).filePath(QString::fromUtf8(name)));
    }
    viewer.showSearch(u"郵便番号"_s);
    viewer.grab().save(QDir(dir).filePath(u"help-search.png"_s));
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
