// A stand-in for the system's RASAPI32.DLL whose phone book and connections the test scripts
// through the environment of the process that loads it:
//   LORVEX_RAS_ENTRIES    phone-book entry names, one per line
//   LORVEX_RAS_USER       user name and password every entry keeps (RasGetEntryDialParamsA)
//   LORVEX_RAS_PASSWORD
//   LORVEX_RAS_DIAL       RasDialA's result (0 when unset)
//   LORVEX_RAS_CONNECTED  entry name of a connection someone else already made
//   LORVEX_RAS_STATES     the states RasGetConnectStatusA reports one after another, each
//                         "state" or "state:error", separated by commas; the last repeats
//   LORVEX_RAS_ERRORS     error texts, "number=text" per line (RasGetErrorStringA)
//   LORVEX_RAS_LOG        file that receives one line per call that changes something
// Built once whole and once per entry point without it (LX_RAS_WITHOUT_<name>).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#define RAS_DOUBLE_EXPORT extern "C" __declspec(dllexport)

namespace {

HANDLE const kDialled = reinterpret_cast<HANDLE>(0x1111);
HANDLE const kOthers = reinterpret_cast<HANDLE>(0x2222);
constexpr DWORD kBufferTooSmall = 603;
constexpr DWORD kInvalidHandle = 6;

// Readings of the status since the last dial, and whether our dialled line was hung up.
LONG g_readings = 0;
LONG g_hungUp = 0;

std::string Env(const char* name) {
    char value[32768];
    const DWORD got = ::GetEnvironmentVariableA(name, value, sizeof value);
    return got > 0 && got < sizeof value ? std::string(value, got) : std::string();
}

void Log(const std::string& line) {
    const std::string path = Env("LORVEX_RAS_LOG");
    if (path.empty()) return;
    if (FILE* f = std::fopen(path.c_str(), "ab")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find(separator, at);
        if (end == std::string::npos) end = text.size();
        if (end > at) parts.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return parts;
}

void Copy(char* to, size_t size, const std::string& text) {
    std::snprintf(to, size, "%s", text.c_str());
}

// The records in the first dial-up networking layout, as the program hands them over.
struct EntryName {
    DWORD dwSize;
    char name[257];
};
struct DialParams {
    DWORD dwSize;
    char entry[257];
    char phone[129];
    char callback[129];
    char user[257];
    char password[257];
    char domain[16];
};
struct Conn {
    DWORD dwSize;
    HANDLE handle;
    char entry[257];
    char deviceType[17];
    char deviceName[129];
};
struct ConnStatus {
    DWORD dwSize;
    DWORD state;
    DWORD error;
    char deviceType[17];
    char deviceName[129];
};

} // namespace

#ifndef LX_RAS_WITHOUT_RasDialA
RAS_DOUBLE_EXPORT DWORD WINAPI RasDialA(void*, const char* phoneBook, DialParams* params, DWORD,
                                        void*, HANDLE* connection) {
    if (!params || !connection || params->dwSize != sizeof(DialParams)) return 632;
    g_readings = 0;
    g_hungUp = 0;
    Log(std::string("dial ") + params->entry + " " + params->user + " " + params->password + " [" +
        params->phone + "] " + params->callback + " " + params->domain +
        (phoneBook ? " phonebook" : ""));
    *connection = kDialled;
    return static_cast<DWORD>(std::atol(Env("LORVEX_RAS_DIAL").c_str()));
}
#endif

#ifndef LX_RAS_WITHOUT_RasEnumConnectionsA
RAS_DOUBLE_EXPORT DWORD WINAPI RasEnumConnectionsA(Conn* conns, DWORD* bytes, DWORD* count) {
    if (!conns || !bytes || !count || conns[0].dwSize != sizeof(Conn)) return 632;
    const std::string other = Env("LORVEX_RAS_CONNECTED");
    // Two connections up: a stranger's and, when scripted, the configured entry's.
    const DWORD up = other.empty() ? 1 : 2;
    Log("enumconnections " + std::to_string(*bytes));
    if (*bytes < up * sizeof(Conn)) {
        *bytes = up * sizeof(Conn);
        *count = 0;
        return kBufferTooSmall;
    }
    Copy(conns[0].entry, sizeof conns[0].entry, "Somebody Else");
    conns[0].handle = reinterpret_cast<HANDLE>(0x3333);
    if (up == 2) {
        Copy(conns[1].entry, sizeof conns[1].entry, other);
        conns[1].handle = kOthers;
    }
    *count = up;
    return 0;
}
#endif

#ifndef LX_RAS_WITHOUT_RasGetErrorStringA
RAS_DOUBLE_EXPORT DWORD WINAPI RasGetErrorStringA(UINT error, char* text, DWORD size) {
    if (!text || size == 0) return 87;
    for (const std::string& line : Split(Env("LORVEX_RAS_ERRORS"), '\n')) {
        const size_t eq = line.find('=');
        if (eq != std::string::npos && std::atol(line.substr(0, eq).c_str()) == long(error)) {
            Copy(text, size, line.substr(eq + 1));
            return 0;
        }
    }
    return 87;
}
#endif

#ifndef LX_RAS_WITHOUT_RasEnumEntriesA
RAS_DOUBLE_EXPORT DWORD WINAPI RasEnumEntriesA(const char*, const char*, EntryName* entries,
                                               DWORD* bytes, DWORD* count) {
    if (!entries || !bytes || !count || entries[0].dwSize != sizeof(EntryName)) return 632;
    const std::vector<std::string> names = Split(Env("LORVEX_RAS_ENTRIES"), '\n');
    const DWORD needed = static_cast<DWORD>(names.size() * sizeof(EntryName));
    if (*bytes < needed) {
        *bytes = needed;
        *count = 0;
        return kBufferTooSmall;
    }
    for (size_t i = 0; i < names.size(); ++i)
        Copy(entries[i].name, sizeof entries[i].name, names[i]);
    *count = static_cast<DWORD>(names.size());
    return 0;
}
#endif

#ifndef LX_RAS_WITHOUT_RasGetEntryDialParamsA
RAS_DOUBLE_EXPORT DWORD WINAPI RasGetEntryDialParamsA(const char*, DialParams* params,
                                                      BOOL* hasPassword) {
    if (!params || params->dwSize != sizeof(DialParams)) return 632;
    bool known = false;
    for (const std::string& name : Split(Env("LORVEX_RAS_ENTRIES"), '\n'))
        known = known || name == params->entry;
    if (!known) return 623; // no such entry
    Copy(params->user, sizeof params->user, Env("LORVEX_RAS_USER") + " of " + params->entry);
    Copy(params->password, sizeof params->password, Env("LORVEX_RAS_PASSWORD"));
    if (hasPassword) *hasPassword = TRUE;
    return 0;
}
#endif

#ifndef LX_RAS_WITHOUT_RasGetConnectStatusA
RAS_DOUBLE_EXPORT DWORD WINAPI RasGetConnectStatusA(HANDLE connection, ConnStatus* status) {
    if (!status || status->dwSize != sizeof(ConnStatus)) return 632;
    if (connection != kDialled && connection != kOthers) return kInvalidHandle;
    if (connection == kDialled && g_hungUp) return kInvalidHandle;
    const std::vector<std::string> states = Split(Env("LORVEX_RAS_STATES"), ',');
    if (states.empty()) return kInvalidHandle;
    const size_t at = static_cast<size_t>(g_readings++);
    const std::string& now = states[at < states.size() ? at : states.size() - 1];
    status->state = static_cast<DWORD>(std::strtoul(now.c_str(), nullptr, 0));
    const size_t colon = now.find(':');
    status->error =
        colon == std::string::npos ? 0 : std::strtoul(now.c_str() + colon + 1, nullptr, 0);
    return 0;
}
#endif

#ifndef LX_RAS_WITHOUT_RasHangUpA
RAS_DOUBLE_EXPORT DWORD WINAPI RasHangUpA(HANDLE connection) {
    Log(connection == kDialled  ? "hangup dialled"
        : connection == kOthers ? "hangup others"
                                : "hangup unknown");
    if (connection == kDialled) g_hungUp = 1;
    return 0;
}
#endif

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
