// Inner working of the store access component, shared by its source files only.
#pragma once

#include "odbcvant/odbcvant.h"

#include <string>
#include <vector>

namespace lx {
namespace odbc {

// The last failure of one object: ODBC diagnostics or the component's own.
class Diag {
public:
    void Clear() { m_text.clear(); }
    bool Empty() const { return m_text.empty(); }
    const char* Text() const { return m_text.c_str(); }
    // Reads every diagnostic record of the handle (state, native error, message).
    void Capture(SQLSMALLINT handleType, SQLHANDLE handle);
    void SetOwn(const char* state, const std::string& message);
    // Hands the text to the installed reporter, or shows it; non-zero when there was one.
    int Report(HWND window) const;

private:
    std::string m_text;
};

inline bool Ok(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

// C type used to move a column of the given SQL type; 0 when the component has none for it.
SQLSMALLINT CTypeForSqlType(SQLSMALLINT sqlType);
// Bytes one element of a fixed-size C type takes in a row-set array; 0 for text.
size_t FixedCSize(SQLSMALLINT cType);
// Maps the short binding form's type codes (1, 4, 5, -7, timestamps) to C types; 0 if unknown.
SQLSMALLINT CTypeForShortForm(int code);

std::string ToUpperAscii(const std::string& s);
// Strips an alias or table prefix: "M.MesgNum" -> "MesgNum".
std::string BareColumnName(const char* name);

} // namespace odbc
} // namespace lx

struct odbcvantEnvironment::Impl {
    SQLHENV env = SQL_NULL_HENV;
};

struct odbcvantConnection::Impl {
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    bool connected = false;
    bool upperForUcase = false;
    std::string dbms;
    lx::odbc::Diag diag;
    // The SQL text as this engine must see it.
    std::string Adapt(const char* sql) const;
};

struct odbcvantTableInfo::Impl {
    struct Column {
        std::string name;
        SQLSMALLINT sqlType = 0;
        SQLSMALLINT cType = 0;
        long width = 0; // characters for text, 0 for long text
    };
    std::string table;
    std::vector<Column> columns;
    lx::odbc::Diag diag;
};

namespace lx {
namespace odbc {
// Number of rows the query yields, counted on a statement of its own; -1 on failure.
long CountQueryRows(odbcvantConnection::Impl& conn, const std::string& sql, Diag& diag);
// Opens the statement a cursor or statement object works on. When the connection is not open or
// the driver refuses, stmt stays null and diag says why; impl is set once the connection is open.
void OpenStatement(odbcvantConnection* conn, odbcvantConnection::Impl*& impl, SQLHSTMT& stmt,
                   Diag& diag);
inline void FreeStatement(SQLHSTMT stmt) {
    if (stmt != SQL_NULL_HSTMT) SQLFreeHandle(SQL_HANDLE_STMT, stmt);
}
} // namespace odbc
} // namespace lx
