// "Signature Files": adding, editing and deleting the named signatures of SIGNING.SIG, which the
// dialog holds exclusively while it is open.
#pragma once
#include <windows.h>

#include <string>

namespace lx {
class MessageCatalog;
class CommandPlugs;

struct SignatureFilesData {
    MessageCatalog* catalog = nullptr;
    std::string installPath; // SIGNING.SIG, SIGNATUR.SIG and the help file
};

// IDCANCEL when closed; -1 when it could not be created.
INT_PTR ShowSignatureFilesDialog(HWND owner, SignatureFilesData* data);

// Plugs the dialog into the main window's "Signature Files" command.
void PlugSignatureFiles(CommandPlugs& plugs, const SignatureFilesData& data);

} // namespace lx
