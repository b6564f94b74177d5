// A stand-in for the mail system's MAPI32.DLL with an address book the test scripts:
//   LORVEX_MAPI_RECIPIENTS  the recipients MAPIAddress returns: "name<TAB>address" records,
//                           one per line
//   LORVEX_MAPI_LOGON       "refuse": MAPILogon fails
//   LORVEX_MAPI_ADDRESS     "cancel": the user cancels the address dialog
//   LORVEX_MAPI_LOG         file that receives one line per call with what the caller passed
// Built once whole and once per entry point without that entry point (LX_MAPI_WITHOUT_<name>).
#include <windows.h>

#include <mapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#define MAPI_DOUBLE_EXPORT extern "C" __declspec(dllexport)

namespace {

constexpr LHANDLE kSession = 0x5E55;
void* g_handedOut = nullptr; // the one block MAPIAddress returned and MAPIFreeBuffer must get

std::string Env(const char* name) {
    char value[32768];
    const DWORD got = ::GetEnvironmentVariableA(name, value, sizeof value);
    return got > 0 && got < sizeof value ? std::string(value, got) : std::string();
}

void Log(const std::string& line) {
    const std::string path = Env("LORVEX_MAPI_LOG");
    if (path.empty()) return;
    if (FILE* f = std::fopen(path.c_str(), "ab")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

std::string Text(const char* text) { return text ? text : "(null)"; }

struct Scripted {
    std::string name;
    std::string address;
};

std::vector<Scripted> ScriptedRecipients() {
    std::vector<Scripted> recipients;
    const std::string script = Env("LORVEX_MAPI_RECIPIENTS");
    size_t at = 0;
    while (at < script.size()) {
        size_t end = script.find('\n', at);
        if (end == std::string::npos) end = script.size();
        const std::string record = script.substr(at, end - at);
        const size_t tab = record.find('\t');
        if (tab != std::string::npos)
            recipients.push_back({record.substr(0, tab), record.substr(tab + 1)});
        at = end + 1;
    }
    return recipients;
}

// The recipients as one block: the descriptions, then their texts.
lpMapiRecipDesc Allocate(const std::vector<Scripted>& recipients) {
    size_t size = recipients.size() * sizeof(MapiRecipDesc);
    for (const Scripted& r : recipients) size += r.name.size() + r.address.size() + 2;
    char* block = static_cast<char*>(::HeapAlloc(::GetProcessHeap(), HEAP_ZERO_MEMORY, size + 1));
    auto* descs = reinterpret_cast<lpMapiRecipDesc>(block);
    char* text = block + recipients.size() * sizeof(MapiRecipDesc);
    for (size_t i = 0; i < recipients.size(); ++i) {
        descs[i].ulRecipClass = MAPI_TO;
        descs[i].lpszName = text;
        std::memcpy(text, recipients[i].name.c_str(), recipients[i].name.size() + 1);
        text += recipients[i].name.size() + 1;
        descs[i].lpszAddress = text;
        std::memcpy(text, recipients[i].address.c_str(), recipients[i].address.size() + 1);
        text += recipients[i].address.size() + 1;
    }
    return descs;
}

} // namespace

#ifndef LX_MAPI_WITHOUT_MAPILogon
MAPI_DOUBLE_EXPORT ULONG WINAPI MAPILogon(ULONG_PTR ui, LPSTR profile, LPSTR password, FLAGS flags,
                                          ULONG, LPLHANDLE session) {
    Log("MAPILogon owner=" + std::string(ui ? "window" : "none") + " profile=" + Text(profile) +
        " password=" + Text(password) + " flags=" + std::to_string(flags));
    if (Env("LORVEX_MAPI_LOGON") == "refuse") return MAPI_E_LOGON_FAILURE;
    *session = kSession;
    return SUCCESS_SUCCESS;
}
#endif

#ifndef LX_MAPI_WITHOUT_MAPILogoff
MAPI_DOUBLE_EXPORT ULONG WINAPI MAPILogoff(LHANDLE session, ULONG_PTR, FLAGS, ULONG) {
    Log(std::string("MAPILogoff session=") + (session == kSession ? "ours" : "unknown"));
    return SUCCESS_SUCCESS;
}
#endif

#ifndef LX_MAPI_WITHOUT_MAPIAddress
MAPI_DOUBLE_EXPORT ULONG WINAPI MAPIAddress(LHANDLE session, ULONG_PTR, LPSTR caption,
                                            ULONG editFields, LPSTR labels, ULONG recips,
                                            lpMapiRecipDesc, FLAGS, ULONG, LPULONG newRecips,
                                            lpMapiRecipDesc* newRecipList) {
    Log(std::string("MAPIAddress session=") + (session == kSession ? "ours" : "unknown") +
        " caption=" + Text(caption) + " fields=" + std::to_string(editFields) +
        " labels=" + Text(labels) + " recips=" + std::to_string(recips));
    if (Env("LORVEX_MAPI_ADDRESS") == "cancel") return MAPI_USER_ABORT;
    const std::vector<Scripted> recipients = ScriptedRecipients();
    *newRecipList = Allocate(recipients);
    *newRecips = static_cast<ULONG>(recipients.size());
    g_handedOut = *newRecipList;
    return SUCCESS_SUCCESS;
}
#endif

#ifndef LX_MAPI_WITHOUT_MAPIFreeBuffer
MAPI_DOUBLE_EXPORT ULONG WINAPI MAPIFreeBuffer(LPVOID buffer) {
    const bool ours = buffer && buffer == g_handedOut;
    Log(std::string("MAPIFreeBuffer buffer=") + (ours ? "ours" : "unknown"));
    if (ours) {
        ::HeapFree(::GetProcessHeap(), 0, buffer);
        g_handedOut = nullptr;
    }
    return SUCCESS_SUCCESS;
}
#endif
