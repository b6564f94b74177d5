#include "netlib/win/netbrowse_tls.h"

#include <windows.h>

namespace lx::net {
namespace {
DWORD g_slot = TLS_OUT_OF_INDEXES;
}
void netBrowseTlsAlloc() { g_slot = TlsAlloc(); }
void netBrowseTlsFree() {
    if (g_slot != TLS_OUT_OF_INDEXES) TlsFree(g_slot);
    g_slot = TLS_OUT_OF_INDEXES;
}
void* netBrowseTlsGet() { return g_slot == TLS_OUT_OF_INDEXES ? nullptr : TlsGetValue(g_slot); }
void netBrowseTlsSet(void* value) {
    if (g_slot != TLS_OUT_OF_INDEXES) TlsSetValue(g_slot, value);
}
} // namespace lx::net
