// Environment and connection: the one ODBC environment and the program's store connection.
#include "odbcvant/internal.h"
#include "odbcvant/sqlrewrite.h"

using lx::odbc::Ok;

odbcvantEnvironment::odbcvantEnvironment() : m_impl(new Impl) {
    if (!Ok(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_impl->env))) {
        m_impl->env = SQL_NULL_HENV;
        return;
    }
    SQLSetEnvAttr(m_impl->env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3),
                  0);
}

odbcvantEnvironment::~odbcvantEnvironment() {
    if (m_impl->env != SQL_NULL_HENV) SQLFreeHandle(SQL_HANDLE_ENV, m_impl->env);
    delete m_impl;
}

int odbcvantEnvironment::IsValid() const { return m_impl->env != SQL_NULL_HENV; }

void* odbcvantEnvironment::GetHandle() const { return m_impl->env; }

std::string odbcvantConnection::Impl::Adapt(const char* sql) const {
    std::string text(sql ? sql : "");
    return upperForUcase ? lx::RewriteUcaseToUpper(text) : text;
}

odbcvantConnection::odbcvantConnection(odbcvantEnvironment* env) : m_impl(new Impl) {
    if (!env || !env->IsValid()) {
        m_impl->diag.SetOwn("HY009", "no store environment");
        return;
    }
    m_impl->env = static_cast<SQLHENV>(env->GetHandle());
    if (!Ok(SQLAllocHandle(SQL_HANDLE_DBC, m_impl->env, &m_impl->dbc))) {
        m_impl->diag.Capture(SQL_HANDLE_ENV, m_impl->env);
        m_impl->dbc = SQL_NULL_HDBC;
    }
}

odbcvantConnection::~odbcvantConnection() {
    if (m_impl->dbc != SQL_NULL_HDBC) {
        if (m_impl->connected) SQLDisconnect(m_impl->dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, m_impl->dbc);
    }
    delete m_impl;
}

int odbcvantConnection::ReportError(HWND window) { return m_impl->diag.Report(window); }

int odbcvantConnection::IsValid() const { return m_impl->dbc != SQL_NULL_HDBC; }

int odbcvantConnection::IsConnected() const { return m_impl->connected ? 1 : 0; }

const char* odbcvantConnection::GetDbmsName() const { return m_impl->dbms.c_str(); }

const char* odbcvantConnection::GetLastErrorText() const { return m_impl->diag.Text(); }

int odbcvantConnection::ConnectTo(const char* dataSource, const char* user, const char* password) {
    Impl& d = *m_impl;
    if (d.dbc == SQL_NULL_HDBC) return 0;
    if (d.connected) {
        SQLDisconnect(d.dbc);
        d.connected = false;
    }
    d.diag.Clear();
    // Explicit lengths rather than SQL_NTS: not every driver-manager bridge passes SQL_NTS on.
    std::string dsn(dataSource ? dataSource : ""), uid(user ? user : ""),
        pwd(password ? password : "");
    auto arg = [](std::string& s) { return reinterpret_cast<SQLCHAR*>(&s[0]); };
    auto size = [](const std::string& s) { return static_cast<SQLSMALLINT>(s.size()); };
    SQLRETURN rc = SQLConnect(d.dbc, arg(dsn), size(dsn), arg(uid), size(uid), arg(pwd), size(pwd));
    if (!Ok(rc)) {
        d.diag.Capture(SQL_HANDLE_DBC, d.dbc);
        return 0;
    }
    d.connected = true;
    char name[128] = {0};
    SQLSMALLINT len = 0;
    if (Ok(SQLGetInfo(d.dbc, SQL_DBMS_NAME, name, static_cast<SQLSMALLINT>(sizeof(name)), &len))) {
        name[sizeof(name) - 1] = '\0';
        d.dbms = name;
    } else {
        d.dbms.clear();
    }
    d.upperForUcase = lx::EngineNeedsUpper(d.dbms);
    return 1;
}

int odbcvantConnection::ExecuteDirect(const char* sql) {
    Impl& d = *m_impl;
    if (!d.connected) {
        d.diag.SetOwn("08003", "not connected to the store");
        return 0;
    }
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    if (!Ok(SQLAllocHandle(SQL_HANDLE_STMT, d.dbc, &stmt))) {
        d.diag.Capture(SQL_HANDLE_DBC, d.dbc);
        return 0;
    }
    std::string text = d.Adapt(sql);
    SQLRETURN rc = SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(&text[0]),
                                 static_cast<SQLINTEGER>(text.size()));
    // A searched statement that touches no row answers SQL_NO_DATA: still a success.
    int ok = Ok(rc) || rc == SQL_NO_DATA;
    if (ok)
        d.diag.Clear();
    else
        d.diag.Capture(SQL_HANDLE_STMT, stmt);
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    return ok;
}

void lx::odbc::OpenStatement(odbcvantConnection* conn, odbcvantConnection::Impl*& impl,
                             SQLHSTMT& stmt, Diag& diag) {
    if (!conn || !conn->IsConnected()) {
        diag.SetOwn("08003", "not connected to the store");
        return;
    }
    impl = conn->GetImpl();
    if (!Ok(SQLAllocHandle(SQL_HANDLE_STMT, impl->dbc, &stmt))) {
        diag.Capture(SQL_HANDLE_DBC, impl->dbc);
        stmt = SQL_NULL_HSTMT;
    }
}
