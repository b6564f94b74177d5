// Cursor: a query whose result rows are fetched one at a time or in row sets into the caller's
// column arrays. Rows are moved one by one into element i of each bound array, so the caller's
// declared lengths bound every write whatever row-array support the driver has. Positioning uses
// the driver's static cursor when it has one, else re-runs the query and skips rows.
#include "odbcvant/internal.h"

#include <cstring>

using lx::odbc::Ok;

namespace {
const int kMaxRowSet = 10000;
const int kMaxColumn = 1024;
} // namespace

struct odbcvantCursor::Impl {
    struct Bind {
        SQLSMALLINT cType = 0; // 0: column not bound
        char* base = nullptr;
        size_t elemSize = 0; // distance between two rows' elements
        SQLLEN bufLen = 0;   // bytes of one element handed to the driver
    };
    odbcvantConnection::Impl* conn = nullptr;
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    std::string sql;
    lx::odbc::Diag diag;
    int rowSetSize = 1;
    std::vector<Bind> binds; // index = column - 1
    std::vector<SQLLEN> ind; // one indicator per bound column
    bool executed = false;
    bool scrollAllowed = true;
    bool scrollable = false; // the open result has a static cursor
    long pos = 0;            // 1-based number of the row last fetched
    bool afterEnd = false;

    bool Ready();
    bool Execute();
    void BindElement(int elem);
    void ClearNulls(int elem);
    SQLRETURN FetchNextInto(int elem);
    SQLRETURN PositionInto(long row);
    int Fill(long startRow, int* rows);
    int Fail(int* rows) {
        diag.Capture(SQL_HANDLE_STMT, stmt);
        if (rows) *rows = -1;
        return 0;
    }
};

bool odbcvantCursor::Impl::Ready() {
    if (stmt == SQL_NULL_HSTMT) {
        if (diag.Empty()) diag.SetOwn("08003", "not connected to the store");
        return false;
    }
    return true;
}

bool odbcvantCursor::Impl::Execute() {
    SQLFreeStmt(stmt, SQL_CLOSE);
    executed = false;
    pos = 0;
    afterEnd = false;
    SQLULEN wanted = scrollAllowed ? SQL_CURSOR_STATIC : SQL_CURSOR_FORWARD_ONLY;
    SQLSetStmtAttr(stmt, SQL_ATTR_CURSOR_TYPE, reinterpret_cast<SQLPOINTER>(wanted), 0);
    std::string text = conn->Adapt(sql.c_str());
    SQLRETURN rc = SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(&text[0]),
                                 static_cast<SQLINTEGER>(text.size()));
    if (!Ok(rc) && rc != SQL_NO_DATA) {
        diag.Capture(SQL_HANDLE_STMT, stmt);
        return false;
    }
    SQLULEN type = SQL_CURSOR_FORWARD_ONLY;
    SQLGetStmtAttr(stmt, SQL_ATTR_CURSOR_TYPE, &type, 0, nullptr);
    scrollable = scrollAllowed && type != SQL_CURSOR_FORWARD_ONLY;
    executed = true;
    diag.Clear();
    return true;
}

void odbcvantCursor::Impl::BindElement(int elem) {
    for (size_t c = 0; c < binds.size(); ++c) {
        const Bind& b = binds[c];
        if (b.cType == 0) continue;
        SQLBindCol(stmt, static_cast<SQLUSMALLINT>(c + 1), b.cType, b.base + b.elemSize * elem,
                   b.bufLen, &ind[c]);
    }
}

// A NULL leaves the driver's buffer untouched: show it as empty text or zero, not stale data.
void odbcvantCursor::Impl::ClearNulls(int elem) {
    for (size_t c = 0; c < binds.size(); ++c) {
        const Bind& b = binds[c];
        if (b.cType == 0 || ind[c] != SQL_NULL_DATA) continue;
        std::memset(b.base + b.elemSize * elem, 0, b.cType == SQL_C_CHAR ? 1 : b.elemSize);
    }
}

SQLRETURN odbcvantCursor::Impl::FetchNextInto(int elem) {
    BindElement(elem);
    SQLRETURN rc = scrollable ? SQLFetchScroll(stmt, SQL_FETCH_NEXT, 0) : SQLFetch(stmt);
    if (Ok(rc)) {
        ++pos;
        ClearNulls(elem);
    } else if (rc == SQL_NO_DATA) {
        afterEnd = true;
    }
    return rc;
}

// Fetches result row `row` (1-based) into element 0.
SQLRETURN odbcvantCursor::Impl::PositionInto(long row) {
    if (row == pos + 1 && !afterEnd) return FetchNextInto(0);
    if (scrollable) {
        BindElement(0);
        SQLRETURN rc = SQLFetchScroll(stmt, SQL_FETCH_ABSOLUTE, static_cast<SQLLEN>(row));
        if (Ok(rc)) {
            pos = row;
            afterEnd = false;
            ClearNulls(0);
            return rc;
        }
        if (rc == SQL_NO_DATA) {
            afterEnd = true;
            return rc;
        }
        // The driver refused to scroll after all: go on without it.
        scrollAllowed = false;
        if (!Execute()) return SQL_ERROR;
    }
    if (row <= pos || afterEnd) {
        if (!Execute()) return SQL_ERROR;
    }
    SQLFreeStmt(stmt, SQL_UNBIND);
    while (pos < row - 1) {
        SQLRETURN rc = SQLFetch(stmt);
        if (rc == SQL_NO_DATA) {
            afterEnd = true;
            return rc;
        }
        if (!Ok(rc)) return rc;
        ++pos;
    }
    return FetchNextInto(0);
}

int odbcvantCursor::Impl::Fill(long startRow, int* rows) {
    if (rows) *rows = -1;
    if (!Ready()) return 0;
    if (!executed) {
        diag.SetOwn("24000", "the query has not been executed");
        return 0;
    }
    SQLRETURN rc = PositionInto(startRow);
    if (rc == SQL_NO_DATA) {
        if (rows) *rows = 0;
        diag.SetOwn("02000", "no more rows");
        return 0;
    }
    if (!Ok(rc)) return Fail(rows);
    int filled = 1;
    while (filled < rowSetSize) {
        rc = FetchNextInto(filled);
        if (rc == SQL_NO_DATA) break;
        if (!Ok(rc)) return Fail(rows);
        ++filled;
    }
    if (rows) *rows = filled;
    diag.Clear();
    return 1;
}

odbcvantCursor::odbcvantCursor(odbcvantConnection* conn, const char* sql) : m_impl(new Impl) {
    Impl& d = *m_impl;
    d.sql = sql ? sql : "";
    lx::odbc::OpenStatement(conn, d.conn, d.stmt, d.diag);
}

odbcvantCursor::~odbcvantCursor() {
    lx::odbc::FreeStatement(m_impl->stmt);
    delete m_impl;
}

int odbcvantCursor::ReportError(HWND window) { return m_impl->diag.Report(window); }

int odbcvantCursor::IsValid() const { return m_impl->stmt != SQL_NULL_HSTMT; }

const char* odbcvantCursor::GetLastErrorText() const { return m_impl->diag.Text(); }

void odbcvantCursor::SetScrollable(int allowed) { m_impl->scrollAllowed = allowed != 0; }

int odbcvantCursor::SetRowSetSize(int rows) {
    if (rows < 1 || rows > kMaxRowSet) {
        m_impl->diag.SetOwn("HY024", "row set size out of range");
        return 0;
    }
    m_impl->rowSetSize = rows;
    return 1;
}

int odbcvantCursor::SetSingleResult() {
    m_impl->rowSetSize = 1;
    return 1;
}

int odbcvantCursor::BindColumns(const ODBCVANT_CURSORBIND* binds, int count) {
    Impl& d = *m_impl;
    if (!d.Ready()) return 0;
    if (!binds || count < 1 || count > kMaxColumn) {
        d.diag.SetOwn("HY009", "no columns to bind");
        return 0;
    }
    std::vector<Impl::Bind> made(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const ODBCVANT_CURSORBIND& b = binds[i];
        std::string name(b.szColName, strnlen(b.szColName, ODBCVANT_NAME_LEN));
        odbcvantTableInfo* table = b.pTableInfo;
        int col = table ? table->FindColumn(name.c_str()) : -1;
        if (col < 0) {
            d.diag.SetOwn("42S22", "column " + name + " is not in the table description");
            return 0;
        }
        Impl::Bind& m = made[i];
        m.cType = static_cast<SQLSMALLINT>(table->GetColumnCType(col));
        m.base = static_cast<char*>(b.pBuffer);
        if (m.cType == 0 || !m.base) {
            d.diag.SetOwn("HY003", "column " + name + " cannot be bound");
            return 0;
        }
        if (m.cType == SQL_C_CHAR) {
            if (b.nBufLen < 1) {
                d.diag.SetOwn("HY090", "column " + name + " has no buffer length");
                return 0;
            }
            m.elemSize = static_cast<size_t>(b.nBufLen);
            m.bufLen = b.nBufLen;
        } else {
            m.elemSize = lx::odbc::FixedCSize(m.cType);
            m.bufLen = static_cast<SQLLEN>(m.elemSize);
        }
    }
    d.binds.swap(made);
    d.ind.assign(d.binds.size(), 0);
    d.diag.Clear();
    return 1;
}

int odbcvantCursor::BindColumns(int column, int cType, void* buffer, int length) {
    Impl& d = *m_impl;
    if (!d.Ready()) return 0;
    SQLSMALLINT type = lx::odbc::CTypeForShortForm(cType);
    if (column < 1 || column > kMaxColumn || type == 0 || !buffer ||
        (type == SQL_C_CHAR && length < 1)) {
        d.diag.SetOwn("HY003", "column binding not valid");
        return 0;
    }
    if (d.binds.size() < static_cast<size_t>(column)) {
        d.binds.resize(static_cast<size_t>(column));
        d.ind.resize(static_cast<size_t>(column), 0);
    }
    Impl::Bind& m = d.binds[column - 1];
    m.cType = type;
    m.base = static_cast<char*>(buffer);
    m.elemSize = type == SQL_C_CHAR ? static_cast<size_t>(length) : lx::odbc::FixedCSize(type);
    m.bufLen = static_cast<SQLLEN>(m.elemSize);
    d.diag.Clear();
    return 1;
}

int odbcvantCursor::ExecuteStmt() {
    Impl& d = *m_impl;
    if (!d.Ready()) return 0;
    if (d.sql.empty()) {
        d.diag.SetOwn("HY009", "no query text");
        return 0;
    }
    return d.Execute() ? 1 : 0;
}

int odbcvantCursor::FetchFirst(int* rows) { return m_impl->Fill(1, rows); }

int odbcvantCursor::FetchNext(int* rows) {
    Impl& d = *m_impl;
    if (d.executed && d.afterEnd) {
        if (rows) *rows = 0;
        d.diag.SetOwn("02000", "no more rows");
        return 0;
    }
    return d.Fill(d.pos + 1, rows);
}

int odbcvantCursor::FetchAbsolute(int row, int* rows) {
    if (row < 1) {
        if (rows) *rows = -1;
        m_impl->diag.SetOwn("HY107", "row value out of range");
        return 0;
    }
    return m_impl->Fill(row, rows);
}

int odbcvantCursor::SingleFetch() {
    Impl& d = *m_impl;
    if (!d.Ready()) return 0;
    if (!d.executed) {
        d.diag.SetOwn("24000", "the query has not been executed");
        return 0;
    }
    if (d.afterEnd) {
        d.diag.SetOwn("02000", "no more rows");
        return 0;
    }
    SQLRETURN rc = d.FetchNextInto(0);
    if (Ok(rc)) {
        d.diag.Clear();
        return 1;
    }
    if (rc == SQL_NO_DATA)
        d.diag.SetOwn("02000", "no more rows");
    else
        d.diag.Capture(SQL_HANDLE_STMT, d.stmt);
    return 0;
}

int odbcvantCursor::ReUseHandle() {
    Impl& d = *m_impl;
    if (!d.Ready()) return 0;
    SQLFreeStmt(d.stmt, SQL_CLOSE);
    SQLFreeStmt(d.stmt, SQL_UNBIND);
    d.binds.clear();
    d.ind.clear();
    d.executed = false;
    d.pos = 0;
    d.afterEnd = false;
    d.diag.Clear();
    return 1;
}

int odbcvantCursor::ResetQuery(const char* sql) {
    Impl& d = *m_impl;
    if (!d.Ready()) return 0;
    if (!sql || !*sql) {
        d.diag.SetOwn("HY009", "no query text");
        return 0;
    }
    if (d.executed) {
        SQLFreeStmt(d.stmt, SQL_CLOSE);
        d.executed = false;
    }
    d.sql = sql;
    return 1;
}

long odbcvantCursor::GetTotalResultRows() {
    Impl& d = *m_impl;
    if (!d.Ready()) return -1;
    // Some drivers report a SELECT's row count; others answer 0 or -1, so only a count is trusted.
    SQLLEN n = 0;
    if (d.executed && Ok(SQLRowCount(d.stmt, &n)) && n > 0) return static_cast<long>(n);
    return lx::odbc::CountQueryRows(*d.conn, d.sql, d.diag);
}
