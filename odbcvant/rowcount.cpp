// Counting a query's rows without touching the cursor that runs it.
#include "odbcvant/internal.h"

using lx::odbc::Ok;

namespace {

class StmtHandle {
public:
    explicit StmtHandle(SQLHDBC dbc) {
        if (!Ok(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &m_h))) m_h = SQL_NULL_HSTMT;
    }
    ~StmtHandle() {
        if (m_h != SQL_NULL_HSTMT) SQLFreeHandle(SQL_HANDLE_STMT, m_h);
    }
    SQLHSTMT Get() const { return m_h; }

private:
    SQLHSTMT m_h = SQL_NULL_HSTMT;
    StmtHandle(const StmtHandle&) = delete;
    StmtHandle& operator=(const StmtHandle&) = delete;
};

SQLRETURN Run(SQLHSTMT h, std::string text) {
    return SQLExecDirect(h, reinterpret_cast<SQLCHAR*>(&text[0]),
                         static_cast<SQLINTEGER>(text.size()));
}

std::string TrimStatementEnd(const std::string& sql) {
    size_t end = sql.size();
    while (end > 0 && (sql[end - 1] == ';' || sql[end - 1] == ' ' || sql[end - 1] == '\t' ||
                       sql[end - 1] == '\r' || sql[end - 1] == '\n')) {
        --end;
    }
    return sql.substr(0, end);
}

// Fast path: let the engine count, wrapping the query as a derived table.
long CountByEngine(SQLHDBC dbc, const std::string& query) {
    StmtHandle h(dbc);
    if (h.Get() == SQL_NULL_HSTMT) return -1;
    if (!Ok(Run(h.Get(), "SELECT COUNT(*) FROM (" + query + ") lx_count"))) return -1;
    SQLINTEGER n = -1;
    SQLLEN ind = 0;
    if (!Ok(SQLFetch(h.Get()))) return -1;
    if (!Ok(SQLGetData(h.Get(), 1, SQL_C_SLONG, &n, 0, &ind)) || ind == SQL_NULL_DATA) return -1;
    return static_cast<long>(n);
}

// Engines that refuse the derived table (ORDER BY inside it, say): run the query and scroll it.
long CountByScrolling(SQLHDBC dbc, const std::string& query, lx::odbc::Diag& diag) {
    StmtHandle h(dbc);
    if (h.Get() == SQL_NULL_HSTMT) {
        diag.Capture(SQL_HANDLE_DBC, dbc);
        return -1;
    }
    if (!Ok(Run(h.Get(), query))) {
        diag.Capture(SQL_HANDLE_STMT, h.Get());
        return -1;
    }
    long n = 0;
    for (;;) {
        SQLRETURN rc = SQLFetch(h.Get());
        if (rc == SQL_NO_DATA) return n;
        if (!Ok(rc)) {
            diag.Capture(SQL_HANDLE_STMT, h.Get());
            return -1;
        }
        ++n;
    }
}

} // namespace

namespace lx {
namespace odbc {

long CountQueryRows(odbcvantConnection::Impl& conn, const std::string& sql, Diag& diag) {
    std::string query = conn.Adapt(TrimStatementEnd(sql).c_str());
    if (query.empty()) {
        diag.SetOwn("HY009", "no query text");
        return -1;
    }
    long n = CountByEngine(conn.dbc, query);
    if (n < 0) n = CountByScrolling(conn.dbc, query, diag);
    if (n >= 0) diag.Clear();
    return n;
}

} // namespace odbc
} // namespace lx
