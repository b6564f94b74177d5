// "Message Search": finds messages in all folders by sender, subject and a date range, lists the
// hits newest first and opens a chosen one through the program's one way of opening a message
// (the ID_MESSAGE_READ command).
#pragma once
#include <windows.h>

#include <string>

class odbcvantConnection;

namespace lx {
class MessageCatalog;
class CommandPlugs;

struct MessageSearchData {
    MessageCatalog* catalog = nullptr;
    odbcvantConnection* conn = nullptr;
    std::string installPath;             // the help file
    const CommandPlugs* plugs = nullptr; // opens a hit: its ID_MESSAGE_READ command
};

// Modal; IDCANCEL when closed.
INT_PTR ShowMessageSearchDialog(HWND owner, MessageSearchData* data);

// Plugs the dialog into the main window's ID_MESSAGE_SEARCH; a hit is opened through the
// ID_MESSAGE_READ command of the same `plugs`, with the search's owner.
void PlugMessageSearch(CommandPlugs& plugs, const MessageSearchData& data);

} // namespace lx
