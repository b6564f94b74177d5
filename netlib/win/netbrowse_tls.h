// The network browser keeps its per-dialog data in a thread-local slot the library owns.
#pragma once

namespace lx::net {
void netBrowseTlsAlloc();
void netBrowseTlsFree();
void* netBrowseTlsGet();
void netBrowseTlsSet(void* value);
} // namespace lx::net
