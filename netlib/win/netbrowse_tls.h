// The network browser keeps its per-dialog data in a thread-local slot the library owns.
#ifndef LX_NETLIB_WIN_NETBROWSE_TLS_H
#define LX_NETLIB_WIN_NETBROWSE_TLS_H

namespace lx::net {
void netBrowseTlsAlloc();
void netBrowseTlsFree();
void* netBrowseTlsGet();
void netBrowseTlsSet(void* value);
} // namespace lx::net

#endif
