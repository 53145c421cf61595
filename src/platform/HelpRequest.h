#pragma once

#include <functional>

// Context help by topic number. The dialogs of every area ask for their topic
// here; the program installs the one that shows the pages. Without a handler
// (tests of a single dialog, the command lines) there is no help to show and
// the dialogs keep their ヘルプ buttons disabled.
namespace HelpRequest {

using Handler = std::function<void(int topic)>;

// Installs the handler; an empty one removes it.
void setHandler(Handler handler);
bool available();
// Shows the page of a topic; nothing without a handler.
void show(int topic);

} // namespace HelpRequest
