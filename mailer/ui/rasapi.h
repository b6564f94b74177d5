// The dial-up networking library, loaded by name at run time: machines without dial-up
// networking run the program all the same, with every entry point unset.
#pragma once
#include "common/win/handles.h"

#include <windows.h>

#include <string>
#include <vector>

namespace lx {

constexpr char kRasLibrary[] = "RASAPI32.DLL";

// The records in the layout the program hands the library (the first dial-up networking
// layout, which every version of the library accepts): dwSize tells it which layout it gets.
using RasConnHandle = HANDLE;

struct RasEntryNameRecord { // 264 bytes on 32-bit Windows
    DWORD dwSize;
    char szEntryName[257];
};

struct RasDialParamsRecord { // 1052 bytes on 32-bit Windows
    DWORD dwSize;
    char szEntryName[257];
    char szPhoneNumber[129];
    char szCallbackNumber[129];
    char szUserName[257];
    char szPassword[257];
    char szDomain[16];
};

struct RasConnRecord { // 412 bytes on 32-bit Windows
    DWORD dwSize;
    RasConnHandle hrasconn;
    char szEntryName[257];
    char szDeviceType[17];
    char szDeviceName[129];
};

struct RasConnStatusRecord { // 160 bytes on 32-bit Windows
    DWORD dwSize;
    DWORD rasconnstate;
    DWORD dwError;
    char szDeviceType[17];
    char szDeviceName[129];
};

// The seven entry points with the signatures the program calls them with.
struct RasEntryPoints {
    using Dial = DWORD(WINAPI*)(void* extensions, const char* phoneBook, RasDialParamsRecord*,
                                DWORD notifierType, void* notifier, RasConnHandle*);
    using EnumConnections = DWORD(WINAPI*)(RasConnRecord*, DWORD* bytes, DWORD* count);
    using GetErrorString = DWORD(WINAPI*)(UINT error, char* text, DWORD size);
    using EnumEntries = DWORD(WINAPI*)(const char* reserved, const char* phoneBook,
                                       RasEntryNameRecord*, DWORD* bytes, DWORD* count);
    using GetEntryDialParams = DWORD(WINAPI*)(const char* phoneBook, RasDialParamsRecord*,
                                              BOOL* hasPassword);
    using GetConnectStatus = DWORD(WINAPI*)(RasConnHandle, RasConnStatusRecord*);
    using HangUp = DWORD(WINAPI*)(RasConnHandle);

    Dial dial = nullptr;                             // RasDialA
    EnumConnections enumConnections = nullptr;       // RasEnumConnectionsA
    GetErrorString getErrorString = nullptr;         // RasGetErrorStringA
    EnumEntries enumEntries = nullptr;               // RasEnumEntriesA
    GetEntryDialParams getEntryDialParams = nullptr; // RasGetEntryDialParamsA
    GetConnectStatus getConnectStatus = nullptr;     // RasGetConnectStatusA
    HangUp hangUp = nullptr;                         // RasHangUpA
};

class RasApi {
public:
    // Loads `library` (normally RASAPI32.DLL) and looks up the seven entry points. When the
    // library cannot be loaded every entry point stays unset; false then.
    bool Load(const char* library = kRasLibrary);
    // Unsets every entry point, then frees the library.
    void Unload();
    bool Loaded() const { return static_cast<bool>(module_); }
    const RasEntryPoints& Entry() const { return entry_; }

private:
    // The table is declared after the module, so it goes before the library does.
    Module module_;
    RasEntryPoints entry_;
};

// The library's text for an error (read into a buffer of `size` bytes); empty when the library
// has none or the entry point is missing.
std::string RasErrorText(const RasEntryPoints& ras, unsigned error, DWORD size);

// A call that fills a buffer of records: first with room for one, then, when the library asks
// for more (603), once more with the room it asked for. `call` takes the records, the bytes
// and the count; `error` gets the last result. Throws std::bad_alloc when there is no memory.
template <typename Record, typename Call>
std::vector<Record> RasListOf(Call call, DWORD* error) {
    std::vector<Record> records(1);
    records[0].dwSize = sizeof(Record);
    DWORD bytes = sizeof(Record);
    DWORD count = 0;
    *error = call(records.data(), &bytes, &count);
    if (*error == 603) {
        records.assign(bytes / sizeof(Record) + 1, Record{});
        for (Record& r : records) r.dwSize = sizeof(Record);
        bytes = static_cast<DWORD>(records.size() * sizeof(Record));
        *error = call(records.data(), &bytes, &count);
    }
    if (*error != 0) count = 0;
    records.resize(count < records.size() ? count : records.size());
    return records;
}

} // namespace lx

#ifndef _WIN64
static_assert(sizeof(lx::RasEntryNameRecord) == 264, "entry name record");
static_assert(sizeof(lx::RasDialParamsRecord) == 1052, "dial parameters record");
static_assert(sizeof(lx::RasConnRecord) == 412, "connection record");
static_assert(sizeof(lx::RasConnStatusRecord) == 160, "connection status record");
#endif
