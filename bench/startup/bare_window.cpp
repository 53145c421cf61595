// The yardstick of the start-up benchmark: a bare Qt Widgets main window
// with the menu bar of the program (same menus, same number of items) and
// nothing else.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(u"[新規] - Torvane"_s);
    window.resize(1240, 800);
    const QList<std::pair<QString, int>> menus = {
        {u"ファイル(&F)"_s, 14}, {u"編集(&E)"_s, 3}, {u"表示(&V)"_s, 4}, {u"ヘルプ(&H)"_s, 7}};
    for (const auto &[title, items] : menus) {
        QMenu *menu = window.menuBar()->addMenu(title);
        for (int i = 1; i <= items; ++i)
            menu->addAction(title + QString::number(i));
    }
    window.show();
    return app.exec();
}
