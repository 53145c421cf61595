// The item search window at price-list sizes far beyond the bundled one:
// loading a category of 5,000 items and laying out (and painting) the grid,
// switching the vehicle class, and one keystroke of the text search over
// 20,000 items of all categories.
//   QT_QPA_PLATFORM=offscreen build/bin/bench_pricelist
#include "master/ItemFiles.h"
#include "master/widgets/TFrame1.h"
#include "platform/MessageService.h"
#include "platform/TextList.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;
using namespace ItemFiles;

namespace {

class SilentMessages : public MessageService {
public:
    Answer ask(const QString &, bool) override { return Answer::No; }
    bool askWarning(const QString &) override { return false; }
    std::optional<QString> askText(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    void show(Kind, const QString &) override {}
};

const QStringList Names = {u"ブレーキパッド交換(フロント)"_s,
                           u"エンジンオイル交換"_s,
                           u"ワイパーゴム交換"_s,
                           u"バッテリー交換"_s,
                           u"ショックアブソーバー交換"_s,
                           u"タイヤ組替え"_s,
                           u"エアコンフィルター交換"_s,
                           u"スパークプラグ交換"_s};

// categories x perCategory maintenance items, six vehicle classes.
struct PriceList {
    QTemporaryDir dir;
    SilentMessages messages;

    PriceList(int categories, int perCategory)
    {
        const Location where(dir.path());
        QDir().mkpath(where.folder);
        QStringList div;
        for (int c = 0; c < categories; ++c) {
            div.append(u"分類%1,%1"_s.arg(c));
            QStringList lines;
            for (int i = 0; i < perCategory; ++i)
                lines.append(u"%1 %2-%3,0.%4,1.20,1.50,2.00,1.10,2.40"_s.arg(Names.at(i % Names.size()))
                                 .arg(c)
                                 .arg(i)
                                 .arg(i % 90 + 10));
            TextList::write(where.itemFile(Kind::Maintenance, QString::number(c)), lines);
            TextList::write(where.itemFile(Kind::Parts, QString::number(c)), {});
        }
        TextList::write(where.categoryFile(), div);
        TextList::write(where.classFile(Kind::Maintenance), {u"軽自動車"_s, u"小型乗用"_s, u"中型乗用"_s,
                                                             u"大型乗用"_s, u"小型貨物"_s, u"普通貨物"_s});
        TextList::write(where.classFile(Kind::Parts), {u"純正品"_s});
    }
    QString folder() const { return dir.path() + u'/'; }
};

void BM_LoadCategory(benchmark::State &state)
{
    PriceList list(2, 5000);
    TFrame1 frame(list.folder(), list.messages);
    frame.resize(400, 700);
    frame.show();
    if (state.range(0))
        frame.SetEditMode(true);
    int category = 0;
    for (auto _ : state) {
        category = 1 - category;
        frame.ComboBox1->setCurrentIndex(category);
        frame.LoadItems();
        frame.StringGrid1->viewport()->repaint();
    }
}
BENCHMARK(BM_LoadCategory)->ArgName("edit")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// In edit mode a category change first writes the category shown.
void BM_SwitchCategoryWhileEditing(benchmark::State &state)
{
    PriceList list(2, 5000);
    TFrame1 frame(list.folder(), list.messages);
    frame.resize(400, 700);
    frame.show();
    frame.SetEditMode(true);
    int category = 0;
    for (auto _ : state) {
        category = 1 - category;
        frame.selectCategory(category);
        frame.StringGrid1->viewport()->repaint();
    }
}
BENCHMARK(BM_SwitchCategoryWhileEditing)->Unit(benchmark::kMillisecond);

void BM_SwitchVehicleClass(benchmark::State &state)
{
    PriceList list(1, 5000);
    TFrame1 frame(list.folder(), list.messages);
    frame.resize(400, 700);
    frame.show();
    int vehicleClass = 0;
    for (auto _ : state) {
        vehicleClass = (vehicleClass + 1) % 6;
        frame.selectVehicleClass(vehicleClass);
        frame.StringGrid1->viewport()->repaint();
    }
}
BENCHMARK(BM_SwitchVehicleClass)->Unit(benchmark::kMicrosecond);

// One keystroke: the query grows by a character, the hits replace the list,
// the columns are laid out and the visible rows painted.
void BM_SearchKeystroke(benchmark::State &state)
{
    PriceList list(20, 1000);
    TFrame1 frame(list.folder(), list.messages);
    frame.resize(400, 700);
    frame.show();
    frame.setSearchText(u"x"_s); // reads every item file once
    const QStringList typed = {u"ﾌﾞ"_s,    u"ﾌﾞﾚ"_s,        u"ﾌﾞﾚｰ"_s,
                               u"ﾌﾞﾚｰｷ"_s, u"ﾌﾞﾚｰｷﾊﾟｯﾄﾞ"_s, u"ぶれーきぱっど交換"_s};
    qsizetype k = 0;
    for (auto _ : state) {
        frame.setSearchText(typed.at(k++ % typed.size()));
        frame.StringGrid1->viewport()->repaint();
    }
}
BENCHMARK(BM_SearchKeystroke)->Unit(benchmark::kMillisecond);

// The first keystroke of a search reads all item files of the kind.
void BM_SearchFirstKeystroke(benchmark::State &state)
{
    PriceList list(20, 1000);
    TFrame1 frame(list.folder(), list.messages);
    frame.resize(400, 700);
    frame.show();
    for (auto _ : state) {
        frame.ReloadAll(); // drops the index
        frame.setSearchText(u"ﾌﾞﾚｰｷ"_s);
        frame.setSearchText(QString());
    }
}
BENCHMARK(BM_SearchFirstKeystroke)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
