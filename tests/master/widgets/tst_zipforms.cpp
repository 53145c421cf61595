#include "master/widgets/TZipOptFrame.h"
#include "master/widgets/TZipSchForm.h"
#include "platform/AppFolder.h"
#include "platform/TextList.h"
#include "support/FakeMessageService.h"
#include "support/ZipFixture.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

class TestZipForms : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void searchListsCodesAndAddresses();
    void keywordOnlyInTheSecondDictionary();
    void stopAsksAndAnswersCount_data();
    void stopAsksAndAnswersCount();
    void presetRunsOnFirstActivationOnly();
    void selectionAndDoubleClick();
    void missingDictionariesDropped();
    void optionsPageAddsAndDeletes();
    void optionsPageRefusesUnsafeNames();
    void grabForReview();

private:
    static void activate(QWidget *w)
    {
        QEvent e(QEvent::WindowActivate);
        QCoreApplication::sendEvent(w, &e);
    }
    static QStringList column(const QTreeWidget *list, int c)
    {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            out.append(list->topLevelItem(i)->text(c));
        return out;
    }
};

namespace {

// An application folder whose ziplist names the given dictionaries.
struct ZipApp {
    QTemporaryDir dir;
    AppFolder folder{dir.path()};
    void add(const QString &name, const QStringList &lines)
    {
        ZipFixture::write(folder.zipFolder(), name, lines);
        QStringList names = TextList::read(folder.zipListFile());
        names.append(name);
        TextList::write(folder.zipListFile(), names);
    }
};

} // namespace

void TestZipForms::searchListsCodesAndAddresses()
{
    ZipApp app;
    app.add(u"a.csv"_s, ZipFixture::sample());
    FakeMessageService messages;
    TZipSchForm form(app.folder.path(), messages);
    form.show();
    QVERIFY(!form.Button1->isEnabled());
    QVERIFY(!form.Button2->isEnabled());
    activate(&form); // no preset: keyword entry
    QCOMPARE(form.Label1->text(), u"キーワードを入力してください"_s);
    QVERIFY(form.Button1->isEnabled());
    QCOMPARE(form.Button3->text(), u"検索(&A)"_s);

    form.Edit1->setText(u"100"_s);
    QTest::keyClick(form.Edit1, Qt::Key_Return); // Enter searches
    QCOMPARE(column(form.ListView1, 0),
             (QStringList{u"1000001"_s, u"1000005"_s, u"1006890"_s, u"1010021"_s}));
    QCOMPARE(column(form.ListView1, 1).first(), u"東京都"_s);
    QCOMPARE(column(form.ListView1, 2),
             (QStringList{u"千代田区千代田"_s, u"千代田区丸の内"_s, u"千代田区丸の内ＪＰタワー"_s,
                          u"千代田区外神田旭100"_s}));
    QCOMPARE(form.Label1->text(), u"検索終了 - 4 件"_s);
    QVERIFY(form.Label3->text().isEmpty());
    QCOMPARE(form.Button3->text(), u"再検索(&A)"_s);
    QVERIFY(form.Button1->isEnabled());
    QVERIFY(!form.Button2->isEnabled()); // nothing selected yet
    QVERIFY(messages.calls.isEmpty());

    form.Edit1->setText(u"見つからない"_s);
    form.Button3->click();
    QCOMPARE(form.ListView1->topLevelItemCount(), 0);
    QCOMPARE(form.Label1->text(), u"検索終了 - 0 件"_s);
}

void TestZipForms::keywordOnlyInTheSecondDictionary()
{
    ZipApp app;
    app.add(u"a.csv"_s, ZipFixture::sample());
    app.add(u"b.csv"_s,
            {ZipFixture::line(u"4600008"_s, u"愛知県"_s, u"名古屋市中区"_s, u"栄"_s),
             ZipFixture::line(u"0600000"_s, u"北海道"_s, u"札幌市中央区"_s, u"以下に掲載がない場合"_s)});
    FakeMessageService messages;
    TZipSchForm form(app.folder.path(), messages);
    form.Edit1->setText(u"名古屋"_s);
    form.Button3Click();
    QCOMPARE(column(form.ListView1, 0), QStringList{u"4600008"_s});
    // Both dictionaries' rows, in list order.
    form.Edit1->setText(u"中央区"_s);
    form.Button3Click();
    QCOMPARE(column(form.ListView1, 0),
             (QStringList{u"0600000"_s, u"0600042"_s, u"0600061"_s, u"0600000"_s}));
}

void TestZipForms::stopAsksAndAnswersCount_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("No goes on") << false;
    QTest::newRow("Yes keeps the rows so far") << true;
}

void TestZipForms::stopAsksAndAnswersCount()
{
    QFETCH(bool, yes);
    ZipApp app;
    const QStringList lines = ZipFixture::many(6000);
    app.add(u"big.csv"_s, lines);
    app.add(u"a.csv"_s, ZipFixture::sample());
    FakeMessageService messages;
    messages.answers = {yes ? MessageService::Answer::Yes : MessageService::Answer::No};
    TZipSchForm form(app.folder.path(), messages);
    form.setInputInterval(0);
    form.show();
    form.Edit1->setText(u"千代田"_s);
    bool stateSeen = false;
    QTimer::singleShot(0, this, [&] {
        // Inside the search: its state, then the stop request.
        stateSeen = form.isSearching() && form.Button3->text() == u"検索中止(&A)"_s &&
                    !form.Button1->isEnabled() && form.Label3->text() == u"big.csv"_s &&
                    form.Label1->text().startsWith(u"検索中..."_s);
        form.Button3->click();
    });
    form.Button3->click();
    QVERIFY(stateSeen);
    QCOMPARE(messages.calls,
             (QList<FakeMessageService::Call>{{FakeMessageService::Box::Question, u"中止しますか?"_s}}));
    const int rows = form.ListView1->topLevelItemCount();
    if (yes) {
        QVERIFY(rows > 0 && rows < 6000);
    } else {
        QCOMPARE(rows, 6000 + 4); // and the second dictionary
    }
    QCOMPARE(form.Label1->text(), u"検索終了 - %1 件"_s.arg(rows));
    QVERIFY(!form.isSearching());
    QVERIFY(form.Button1->isEnabled());
}

void TestZipForms::presetRunsOnFirstActivationOnly()
{
    ZipApp app;
    app.add(u"a.csv"_s, ZipFixture::sample());
    FakeMessageService messages;
    TZipSchForm form(app.folder.path(), messages);
    form.setKeyword(u"0600042"_s);
    QCOMPARE(form.Edit1->text(), u"0600042"_s);
    form.show();
    activate(&form);
    QCOMPARE(column(form.ListView1, 2), QStringList{u"札幌市中央区大通西"_s});
    QCOMPARE(form.Label1->text(), u"検索終了 - 1 件"_s);

    form.Edit1->setText(u"千代田"_s);
    activate(&form); // back from another window: keyword entry, no search
    QCOMPARE(form.ListView1->topLevelItemCount(), 1);
    QCOMPARE(form.Label1->text(), u"キーワードを入力してください"_s);
    QCOMPARE(form.Button3->text(), u"検索(&A)"_s);
}

void TestZipForms::selectionAndDoubleClick()
{
    ZipApp app;
    app.add(u"a.csv"_s, ZipFixture::sample());
    FakeMessageService messages;
    TZipSchForm form(app.folder.path(), messages);
    form.show();
    form.Edit1->setText(u"060"_s);
    form.Button3Click();
    QTreeWidgetItem *item = form.ListView1->topLevelItem(2);
    item->setSelected(true);
    QCOMPARE(form.selected(), (ZipRecord{u"0600061"_s, u"北海道"_s, u"札幌市中央区南一条西"_s}));
    QVERIFY(form.Button2->isEnabled());
    item->setSelected(false);
    QCOMPARE(form.selected(), ZipRecord{});
    QVERIFY(!form.Button2->isEnabled());

    item->setSelected(true);
    const QRect rect = form.ListView1->visualItemRect(item);
    QTest::mouseClick(form.ListView1->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(form.ListView1->viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(form.selected().code, u"0600061"_s);
}

void TestZipForms::missingDictionariesDropped()
{
    ZipApp app;
    app.add(u"a.csv"_s, ZipFixture::sample());
    TextList::write(app.folder.zipListFile(), {u"gone.csv"_s, u"a.csv"_s, u"../a.csv"_s});
    FakeMessageService messages;
    TZipSchForm form(app.folder.path(), messages);
    QCOMPARE(form.dictionaries(), QStringList{u"a.csv"_s});
    QCOMPARE(TextList::read(app.folder.zipListFile()).size(), 3);
    // No list at all: nothing found, a count of 0.
    QFile::remove(app.folder.zipListFile());
    TZipSchForm empty(app.folder.path(), messages);
    empty.Edit1->setText(u"100"_s);
    empty.Button3Click();
    QCOMPARE(empty.Label1->text(), u"検索終了 - 0 件"_s);
}

void TestZipForms::optionsPageAddsAndDeletes()
{
    ZipApp app;
    app.add(u"a.csv"_s, ZipFixture::sample());
    TextList::write(app.folder.zipListFile(), {u"gone.csv"_s, u"a.csv"_s});
    QTemporaryDir outside;
    const QString fresh = ZipFixture::write(outside.path(), u"KEN_ALL.CSV"_s, ZipFixture::sample());
    const QString sameName = ZipFixture::write(outside.path() + u"/x"_s, u"a.csv"_s, {u"x"_s});
    FakeMessageService messages;
    TZipOptFrame page(app.folder.path(), messages);
    QCOMPARE(page.ListBox1->count(), 1); // gone.csv dropped
    QVERIFY(!page.Button2->isEnabled());

    QString chosen;
    page.setFileChooser([&] { return chosen; });
    page.Button1Click(); // cancelled
    QCOMPARE(TextList::read(app.folder.zipListFile()), (QStringList{u"gone.csv"_s, u"a.csv"_s}));
    chosen = fresh;
    page.Button1->click();
    QVERIFY(QFile::exists(app.folder.zipFolder() + u"KEN_ALL.CSV"_s));
    QCOMPARE(TextList::read(app.folder.zipListFile()), (QStringList{u"a.csv"_s, u"KEN_ALL.CSV"_s}));
    chosen = sameName; // the file already there stays; listed once
    page.Button1Click();
    QCOMPARE(TextList::read(app.folder.zipFolder() + u"a.csv"_s).size(), ZipFixture::sample().size());
    QCOMPARE(TextList::read(app.folder.zipListFile()), (QStringList{u"a.csv"_s, u"KEN_ALL.CSV"_s}));

    page.ListBox1->setCurrentRow(0);
    QVERIFY(page.Button2->isEnabled());
    page.Button2->click(); // No
    QVERIFY(QFile::exists(app.folder.zipFolder() + u"a.csv"_s));
    messages.answers = {MessageService::Answer::Yes};
    page.Button2->click();
    QVERIFY(!QFile::exists(app.folder.zipFolder() + u"a.csv"_s));
    QCOMPARE(TextList::read(app.folder.zipListFile()), QStringList{u"KEN_ALL.CSV"_s});
    QCOMPARE(messages.texts(), (QStringList{u"削除しますか?"_s, u"削除しますか?"_s}));
}

void TestZipForms::optionsPageRefusesUnsafeNames()
{
    ZipApp app;
    QTemporaryDir outside;
    const QString device = ZipFixture::write(outside.path(), u"CON.csv"_s, ZipFixture::sample());
    FakeMessageService messages;
    TZipOptFrame page(app.folder.path(), messages);
    page.setFileChooser([&] { return device; });
    page.Button1Click();
    QCOMPARE(page.ListBox1->count(), 0);
    QVERIFY(!QFile::exists(app.folder.zipFolder() + u"CON.csv"_s));
    QCOMPARE(messages.calls.size(), 1);
    QCOMPARE(messages.calls.first().box, FakeMessageService::Box::Warning);
}

// Pictures of the dialog while searching, after a stop and with results,
// and of the options page: TORVANE_GRAB_DIR=<folder>.
void TestZipForms::grabForReview()
{
    const QString dir = qEnvironmentVariable("TORVANE_GRAB_DIR");
    if (dir.isEmpty())
        QSKIP("TORVANE_GRAB_DIR is not set");
    ZipApp app;
    const QStringList lines = ZipFixture::many(3000);
    app.add(u"KEN_ALL.CSV"_s, lines);
    app.add(u"SAMPLE.CSV"_s, ZipFixture::sample());
    FakeMessageService messages;
    messages.answers = {MessageService::Answer::Yes};
    TZipSchForm form(app.folder.path(), messages);
    form.setInputInterval(0);
    form.show();
    form.Edit1->setText(u"千代田"_s);
    QTimer::singleShot(0, this, [&] {
        QVERIFY(form.grab().save(dir + u"/zip-searching.png"_s));
        form.Button3->click();
    });
    form.Button3->click();
    QVERIFY(form.grab().save(dir + u"/zip-stopped.png"_s));
    form.Edit1->setText(u"中央区"_s);
    form.Button3->click();
    form.ListView1->topLevelItem(1)->setSelected(true);
    QVERIFY(form.grab().save(dir + u"/zip-results.png"_s));
    TZipOptFrame page(app.folder.path(), messages);
    page.resize(420, 240);
    page.show();
    QVERIFY(page.grab().save(dir + u"/zip-options.png"_s));
}

QTEST_MAIN(TestZipForms)
#include "tst_zipforms.moc"
