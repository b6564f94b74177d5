#include "mailer/addressing/store/import_store.h"

#include <algorithm>
#include <cstring>

namespace lx {
namespace {

// The value in a column buffer of Size bytes, cut to Size - 1 and zero-terminated.
template <size_t Size>
void Fill(char (&buffer)[Size], const std::string& value) {
    const size_t n = std::min(value.size(), Size - 1);
    std::memcpy(buffer, value.data(), n);
    buffer[n] = '\0';
}

} // namespace

AddressWriter::AddressWriter(odbcvantConnection* conn) : conn_(conn) {
    if (conn_) table_ = std::make_unique<odbcvantTableInfo>(conn_, "AddBook");
}

bool AddressWriter::Insert(const ImportedAddress& address) {
    if (!table_ || !table_->IsValid()) return false;
    char name[kImportNameLen + 1], dest[kImportDestLen + 1], note[kImportNoteLen + 1];
    Fill(name, address.name);
    Fill(dest, address.dest);
    Fill(note, address.note);
    ODBCVANT_PBIND p[3];
    odbcvantSetParamBind(p[0], "AddName", name);
    odbcvantSetParamBind(p[1], "AddDest", dest);
    odbcvantSetParamBind(p[2], "AddNote", note);
    odbcvantStmt stmt(conn_, table_.get());
    return stmt.IsValid() && stmt.PrepareInsert(p, 3) && stmt.InsertRow();
}

} // namespace lx
