// Table description: the columns of one table as the store reports them.
#include "odbcvant/internal.h"

#include <cstring>

using lx::odbc::Ok;

namespace {

// Long text has no width the programs must respect; drivers report it as a long type or a huge size.
long TextWidth(SQLSMALLINT sqlType, SQLLEN size) {
    if (sqlType == SQL_LONGVARCHAR || sqlType == SQL_WLONGVARCHAR) return 0;
    if (size <= 0 || size >= 65535) return 0;
    return static_cast<long>(size);
}

bool ReadColumns(SQLHDBC dbc, const std::string& table, odbcvantTableInfo::Impl& d) {
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    if (!Ok(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt))) {
        d.diag.Capture(SQL_HANDLE_DBC, dbc);
        return false;
    }
    std::string name = table;
    SQLRETURN rc = SQLColumns(stmt, nullptr, 0, nullptr, 0, reinterpret_cast<SQLCHAR*>(&name[0]),
                              static_cast<SQLSMALLINT>(name.size()), nullptr, 0);
    if (!Ok(rc)) {
        d.diag.Capture(SQL_HANDLE_STMT, stmt);
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        return false;
    }
    char colName[256];
    SQLSMALLINT dataType = 0;
    SQLINTEGER columnSize = 0;
    SQLLEN nameInd = 0, typeInd = 0, sizeInd = 0;
    SQLBindCol(stmt, 4, SQL_C_CHAR, colName, sizeof(colName), &nameInd);
    SQLBindCol(stmt, 5, SQL_C_SSHORT, &dataType, 0, &typeInd);
    SQLBindCol(stmt, 7, SQL_C_SLONG, &columnSize, 0, &sizeInd);
    while (true) {
        colName[0] = '\0';
        dataType = 0;
        columnSize = 0;
        rc = SQLFetch(stmt);
        if (!Ok(rc)) break;
        odbcvantTableInfo::Impl::Column col;
        col.name.assign(colName, strnlen(colName, sizeof(colName)));
        col.sqlType = dataType;
        col.cType = lx::odbc::CTypeForSqlType(dataType);
        if (col.cType == SQL_C_CHAR)
            col.width = TextWidth(dataType, sizeInd == SQL_NULL_DATA ? 0 : columnSize);
        d.columns.push_back(col);
    }
    if (rc != SQL_NO_DATA) d.diag.Capture(SQL_HANDLE_STMT, stmt);
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    return rc == SQL_NO_DATA;
}

std::string ToLowerAscii(const std::string& s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

} // namespace

odbcvantTableInfo::odbcvantTableInfo(odbcvantConnection* conn, const char* tableName)
    : m_impl(new Impl) {
    Impl& d = *m_impl;
    d.table = tableName ? tableName : "";
    if (!conn || !conn->IsConnected()) {
        d.diag.SetOwn("08003", "not connected to the store");
        return;
    }
    if (d.table.empty()) {
        d.diag.SetOwn("HY009", "no table name");
        return;
    }
    SQLHDBC dbc = conn->GetImpl()->dbc;
    ReadColumns(dbc, d.table, d);
    // Engines that fold unquoted names to lower case keep "Messages" as "messages".
    if (d.columns.empty() && ToLowerAscii(d.table) != d.table)
        ReadColumns(dbc, ToLowerAscii(d.table), d);
    if (d.columns.empty()) {
        if (d.diag.Empty()) d.diag.SetOwn("42S02", "table " + d.table + " not found in the store");
    } else {
        d.diag.Clear();
    }
}

odbcvantTableInfo::~odbcvantTableInfo() { delete m_impl; }

int odbcvantTableInfo::ReportError(HWND window) { return m_impl->diag.Report(window); }

int odbcvantTableInfo::IsValid() const { return m_impl->columns.empty() ? 0 : 1; }

const char* odbcvantTableInfo::GetTableName() const { return m_impl->table.c_str(); }

int odbcvantTableInfo::GetColumnCount() const { return static_cast<int>(m_impl->columns.size()); }

int odbcvantTableInfo::FindColumn(const char* name) const {
    std::string want =
        lx::odbc::ToUpperAscii(name ? std::string(name, strnlen(name, ODBCVANT_NAME_LEN)) : "");
    want = lx::odbc::BareColumnName(want.c_str());
    for (size_t i = 0; i < m_impl->columns.size(); ++i) {
        if (lx::odbc::ToUpperAscii(m_impl->columns[i].name) == want) return static_cast<int>(i);
    }
    return -1;
}

const char* odbcvantTableInfo::GetColumnName(int index) const {
    if (index < 0 || index >= GetColumnCount()) return "";
    return m_impl->columns[index].name.c_str();
}

int odbcvantTableInfo::GetColumnSqlType(int index) const {
    if (index < 0 || index >= GetColumnCount()) return 0;
    return m_impl->columns[index].sqlType;
}

int odbcvantTableInfo::GetColumnCType(int index) const {
    if (index < 0 || index >= GetColumnCount()) return 0;
    return m_impl->columns[index].cType;
}

long odbcvantTableInfo::GetColumnWidth(int index) const {
    if (index < 0 || index >= GetColumnCount()) return 0;
    return m_impl->columns[index].width;
}

const char* odbcvantTableInfo::GetLastErrorText() const { return m_impl->diag.Text(); }
