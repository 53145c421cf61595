#pragma once

#include <QList>
#include <QString>

// The help pages: which page answers which topic number, where the pages
// are, and the keyword search over their text.
namespace HelpTopics {

// The contents page.
inline constexpr char16_t IndexPage[] = u"index.html";

// The page of a topic (a file name below the help folder, with an anchor
// where the topic is a part of a page); empty for an unknown number.
QString pageOf(int topic);
// Every topic number the program asks for.
QList<int> numbers();

// The help folder: "help" beside the executable, or the shared folder of an
// installed program (../share/torvane/help); empty when neither exists.
QString folder(const QString &executableDir);

struct Hit {
    QString page;  // file name below the folder
    QString title; // the page's <title>
};
// The pages whose text holds every blank-separated word of words, whatever
// the letter case, width or kana form of either; pages with a word in the
// title first, then by name.
QList<Hit> search(const QString &folder, const QString &words);

} // namespace HelpTopics
