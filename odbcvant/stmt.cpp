// Statement: insert, update and delete on one table. Values are bound parameters read from the
// caller's buffers at each InsertRow / UpdateRow, so one prepared statement serves many rows and
// no value is ever pasted into the SQL text.
#include "odbcvant/internal.h"

#include <cstring>

using lx::odbc::Ok;

struct odbcvantStmt::Impl {
    enum Kind { kNone, kInsert, kUpdate, kDelete };
    struct Param {
        int column = -1; // index in the table description
        const void* value = nullptr;
        std::string name; // as the caller named it, for error reports
    };
    odbcvantConnection::Impl* conn = nullptr;
    odbcvantTableInfo* table = nullptr;
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    Kind kind = kNone;
    std::vector<Param> params;
    std::vector<SQLLEN> ind;
    std::vector<TIMESTAMP_STRUCT> stamps; // whole-second copies of timestamp values
    lx::odbc::Diag diag;
    long affected = 0;

    bool Ready();
    int Prepare(Kind k, const ODBCVANT_PBIND* binds, int count, const char* condition);
    bool BindParam(size_t i);
    int Run(Kind k);
};

bool odbcvantStmt::Impl::Ready() {
    if (stmt == SQL_NULL_HSTMT) {
        if (diag.Empty()) diag.SetOwn("08003", "not connected to the store");
        return false;
    }
    if (!table || !table->IsValid()) {
        diag.SetOwn("42S02", "no table description");
        return false;
    }
    return true;
}

int odbcvantStmt::Impl::Prepare(Kind k, const ODBCVANT_PBIND* binds, int count,
                                const char* condition) {
    kind = kNone;
    params.clear();
    if (!Ready()) return 0;
    if (k != kDelete && (!binds || count < 1 || count > table->GetColumnCount())) {
        diag.SetOwn("HY009", "no columns given");
        return 0;
    }
    // A missing condition would change every row of the table: never what a caller means.
    if (k != kInsert && (!condition || !*condition)) {
        diag.SetOwn("HY009", "no row condition given");
        return 0;
    }
    std::string sql;
    std::string names, marks;
    for (int i = 0; k != kDelete && i < count; ++i) {
        std::string name(binds[i].szColName, strnlen(binds[i].szColName, ODBCVANT_NAME_LEN));
        Param p;
        p.column = table->FindColumn(name.c_str());
        p.value = binds[i].pValue;
        p.name = name;
        if (p.column < 0 || table->GetColumnCType(p.column) == 0) {
            diag.SetOwn("42S22", "column " + name + " is not in table " + table->GetTableName());
            return 0;
        }
        params.push_back(p);
        if (i > 0) {
            names += ", ";
            marks += ", ";
        }
        names += table->GetColumnName(p.column);
        if (k == kUpdate) names += " = ?";
        marks += "?";
    }
    if (k == kInsert) {
        sql = std::string("INSERT INTO ") + table->GetTableName() + " (" + names + ") VALUES (" +
              marks + ")";
    } else if (k == kUpdate) {
        sql = std::string("UPDATE ") + table->GetTableName() + " SET " + names + " WHERE " +
              condition;
    } else {
        sql = std::string("DELETE FROM ") + table->GetTableName() + " WHERE " + condition;
    }
    SQLFreeStmt(stmt, SQL_CLOSE);
    SQLFreeStmt(stmt, SQL_RESET_PARAMS);
    std::string text = conn->Adapt(sql.c_str());
    if (!Ok(SQLPrepare(stmt, reinterpret_cast<SQLCHAR*>(&text[0]),
                       static_cast<SQLINTEGER>(text.size())))) {
        diag.Capture(SQL_HANDLE_STMT, stmt);
        params.clear();
        return 0;
    }
    ind.assign(params.size(), 0);
    stamps.assign(params.size(), TIMESTAMP_STRUCT());
    kind = k;
    diag.Clear();
    return 1;
}

bool odbcvantStmt::Impl::BindParam(size_t i) {
    static char emptyText[1] = {0};
    const Param& p = params[i];
    const SQLUSMALLINT number = static_cast<SQLUSMALLINT>(i + 1);
    SQLSMALLINT cType = static_cast<SQLSMALLINT>(table->GetColumnCType(p.column));
    SQLSMALLINT sqlType = static_cast<SQLSMALLINT>(table->GetColumnSqlType(p.column));
    SQLPOINTER value = const_cast<void*>(p.value);
    SQLULEN size = 0;
    SQLLEN bufLen = 0;
    if (!value) {
        ind[i] = SQL_NULL_DATA;
        if (cType == SQL_C_CHAR)
            value = emptyText;
        else
            value = &stamps[i]; // any buffer: the driver reads none for NULL
        size = cType == SQL_C_TYPE_TIMESTAMP ? 19 : 1;
    } else if (cType == SQL_C_CHAR) {
        const long width = table->GetColumnWidth(p.column);
        const char* text = static_cast<const char*>(p.value);
        size_t len = width > 0 ? strnlen(text, static_cast<size_t>(width) + 1) : std::strlen(text);
        if (width > 0 && len > static_cast<size_t>(width)) {
            diag.SetOwn("22001", "value for column " + p.name + " is longer than its " +
                                     std::to_string(width) + " characters");
            return false;
        }
        ind[i] = static_cast<SQLLEN>(len);
        size = width > 0 ? static_cast<SQLULEN>(width) : (len > 0 ? len : 1);
        bufLen = static_cast<SQLLEN>(len + 1);
    } else if (cType == SQL_C_TYPE_TIMESTAMP) {
        // The store keeps timestamps at whole seconds so rows can be found again by their time.
        std::memcpy(&stamps[i], p.value, sizeof(TIMESTAMP_STRUCT));
        stamps[i].fraction = 0;
        value = &stamps[i];
        ind[i] = sizeof(TIMESTAMP_STRUCT);
        size = 19;
    } else {
        ind[i] = static_cast<SQLLEN>(lx::odbc::FixedCSize(cType));
    }
    if (cType == SQL_C_TYPE_TIMESTAMP)
        sqlType = SQL_TYPE_TIMESTAMP; // dates are written as timestamps too
    SQLRETURN rc = SQLBindParameter(stmt, number, SQL_PARAM_INPUT, cType, sqlType, size, 0, value,
                                    bufLen, &ind[i]);
    if (!Ok(rc)) {
        diag.Capture(SQL_HANDLE_STMT, stmt);
        return false;
    }
    return true;
}

int odbcvantStmt::Impl::Run(Kind k) {
    affected = 0;
    if (!Ready()) return 0;
    if (kind != k) {
        diag.SetOwn("HY010", "the statement was not prepared for this operation");
        return 0;
    }
    for (size_t i = 0; i < params.size(); ++i) {
        if (!BindParam(i)) return 0;
    }
    SQLRETURN rc = SQLExecute(stmt);
    // A searched update or delete that matches no row answers SQL_NO_DATA: not a failure.
    if (!Ok(rc) && rc != SQL_NO_DATA) {
        diag.Capture(SQL_HANDLE_STMT, stmt);
        SQLFreeStmt(stmt, SQL_CLOSE);
        return 0;
    }
    SQLLEN n = 0;
    if (rc != SQL_NO_DATA && Ok(SQLRowCount(stmt, &n)) && n > 0) affected = static_cast<long>(n);
    SQLFreeStmt(stmt, SQL_CLOSE);
    diag.Clear();
    return 1;
}

odbcvantStmt::odbcvantStmt(odbcvantConnection* conn, odbcvantTableInfo* table) : m_impl(new Impl) {
    Impl& d = *m_impl;
    d.table = table;
    lx::odbc::OpenStatement(conn, d.conn, d.stmt, d.diag);
}

odbcvantStmt::~odbcvantStmt() {
    lx::odbc::FreeStatement(m_impl->stmt);
    delete m_impl;
}

int odbcvantStmt::ReportError(HWND window) { return m_impl->diag.Report(window); }

int odbcvantStmt::IsValid() const {
    return m_impl->stmt != SQL_NULL_HSTMT && m_impl->table && m_impl->table->IsValid();
}

const char* odbcvantStmt::GetLastErrorText() const { return m_impl->diag.Text(); }

long odbcvantStmt::GetRowsAffected() const { return m_impl->affected; }

int odbcvantStmt::PrepareInsert(const ODBCVANT_PBIND* binds, int count) {
    return m_impl->Prepare(Impl::kInsert, binds, count, nullptr);
}

int odbcvantStmt::InsertRow() { return m_impl->Run(Impl::kInsert); }

int odbcvantStmt::PrepareUpdate(const ODBCVANT_PBIND* binds, int count, const char* condition) {
    return m_impl->Prepare(Impl::kUpdate, binds, count, condition);
}

int odbcvantStmt::UpdateRow() { return m_impl->Run(Impl::kUpdate); }

int odbcvantStmt::PrepareDelete(const char* condition) {
    return m_impl->Prepare(Impl::kDelete, nullptr, 0, condition);
}

int odbcvantStmt::DeleteRow() { return m_impl->Run(Impl::kDelete); }
