// The recipients chosen in the mail system's address book (Simple MAPI) as addresses: a
// recipient's address is "TYPE:ADDRESS"; only an Internet address is taken.
#pragma once

#include "mailer/addressing/logic/import_steps.h"

#include <string>
#include <vector>

namespace lx {

struct MapiRecipient {
    std::string name;
    std::string address;
};

// The text after the first ":" of `address`, blanks after the colon skipped, when that text is
// not empty, holds no blank and holds an "@"; cut to the AddBook width. False otherwise.
bool MapiInternetAddress(const std::string& address, std::string* dest);

// Every recipient is named on a status line; one with an Internet address is stored with its
// name and an empty note, any other is refused.
ImportScript MapiImportScript(const std::vector<MapiRecipient>& recipients);

} // namespace lx
