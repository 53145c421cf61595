#include "HelpTopics.h"

#include "master/ItemSearch.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTextDocumentFragment>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

struct Topic {
    int number;
    const char16_t *page;
};

// One row per topic number the windows and dialogs ask for.
const Topic Topics[] = {
    {16, u"slip.html"},             // the slip editor (F1 in the header)
    {22, u"lines.html"},            // line items (F1 in the grid)
    {23, u"pricelist.html"},        // the item search window and its editor
    {24, u"options.html"},          // the options dialog
    {25, u"options.html#basic"},    // basic settings
    {26, u"options.html#print"},    // print settings
    {27, u"zip.html"},              // postal dictionaries, postal-code search
    {28, u"masters.html"},          // master lists, car master, pick dialog
    {29, u"printing.html#printer"}, // printer settings before printing
    {33, u"start.html"},            // tutorial
    {37, u"masters.html#tax"},      // insurance and weight-tax tables
    {39, u"printing.html#printer"}, // printer setup command
    {44, u"templates.html#memo"},   // greetings and note templates
    {45, u"templates.html"},        // saving and choosing templates
};

QString titleOf(const QString &html)
{
    static const QRegularExpression title(u"<title>(.*?)</title>"_s,
                                          QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = title.match(html);
    return m.hasMatch() ? m.captured(1).trimmed() : QString();
}

} // namespace

namespace HelpTopics {

QString pageOf(int topic)
{
    for (const Topic &t : Topics) {
        if (t.number == topic)
            return QString::fromUtf16(t.page);
    }
    return {};
}

QList<int> numbers()
{
    QList<int> list;
    for (const Topic &t : Topics)
        list << t.number;
    return list;
}

QString folder(const QString &executableDir)
{
    const QDir exe(executableDir);
    for (const QString &candidate : {u"help"_s, u"../share/torvane/help"_s}) {
        const QString path = exe.absoluteFilePath(candidate);
        if (QFile::exists(QDir(path).filePath(QString::fromUtf16(IndexPage))))
            return QDir::cleanPath(path);
    }
    return {};
}

QList<Hit> search(const QString &folder, const QString &words)
{
    const QStringList wanted = TextFold::fold(words).split(QRegularExpression(u"\\s+"_s), Qt::SkipEmptyParts);
    if (wanted.isEmpty())
        return {};
    struct Ranked {
        Hit hit;
        bool inTitle;
    };
    QList<Ranked> found;
    const QDir dir(folder);
    for (const QString &name : dir.entryList({u"*.html"_s}, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString html = QString::fromUtf8(file.readAll());
        const QString title = titleOf(html);
        const QString text = TextFold::fold(QTextDocumentFragment::fromHtml(html).toPlainText());
        const QString titleText = TextFold::fold(title);
        const bool all = std::all_of(wanted.cbegin(), wanted.cend(), [&](const QString &w) {
            return text.contains(w) || titleText.contains(w);
        });
        if (!all)
            continue;
        const bool inTitle = std::any_of(wanted.cbegin(), wanted.cend(),
                                         [&](const QString &w) { return titleText.contains(w); });
        found.append({{name, title}, inTitle});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Ranked &a, const Ranked &b) { return a.inTitle && !b.inTitle; });
    QList<Hit> hits;
    for (const Ranked &r : found)
        hits << r.hit;
    return hits;
}

} // namespace HelpTopics
