// OdbcVant: the store access component. Both programs reach the message store only through
// these classes. Every call returns an int, non-zero on success, unless said otherwise.
//
// Value buffers, by the column's type in the table description (odbcvantTableInfo):
//   text / long text -> char[] (NUL-terminated; the length given is the whole buffer, NUL included)
//   integer          -> 32-bit signed (int32_t; `long` on Windows)
//   smallint, bit    -> 16-bit signed (a flag is 0 or 1 in a 16-bit field on every engine)
//   timestamp        -> TIMESTAMP_STRUCT (sqltypes.h)
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif
#include <cstddef>
#include <sql.h>
#include <sqlext.h>

#ifdef _WIN32
#if defined(ODBCVANT_BUILD)
#define ODBCVANT_API __declspec(dllexport)
#else
#define ODBCVANT_API __declspec(dllimport)
#endif
#else
#define ODBCVANT_API __attribute__((visibility("default")))
// unixODBC's sqltypes.h supplies HWND as void* unless the includer brings its own Windows types.
#if defined(ALREADY_HAVE_WINDOWS_TYPE) && !defined(_WINDOWS_)
typedef void* HWND;
#endif
#endif

// Short binding form value types (ODBC type codes).
enum {
    ODBCVANT_TEXT = 1,  // SQL_C_CHAR
    ODBCVANT_INT32 = 4, // SQL_C_LONG, 32-bit signed
    ODBCVANT_INT16 = 5, // SQL_C_SHORT, 16-bit signed
    ODBCVANT_BIT = -7   // SQL_C_BIT, unsigned char
};

enum { ODBCVANT_NAME_LEN = 64 };

// One column of an insert or update: the value's type and width come from the table description.
// A null value pointer stores SQL NULL.
struct ODBCVANT_PBIND {
    char szColName[ODBCVANT_NAME_LEN];
    void* pValue;
};

// One result column: with a row set of N rows the buffer is an array of N elements (element i =
// row i); buffer length is per row, 0 for 32-bit integers, 16-bit integers, bits and timestamps.
class odbcvantTableInfo;
struct ODBCVANT_CURSORBIND {
    char szColName[ODBCVANT_NAME_LEN];
    void* pBuffer;
    int nBufLen;
    odbcvantTableInfo* pTableInfo;
};

// Fills one binding; a column name longer than the field is cut, never overrun.
inline void odbcvantSetColumnBind(ODBCVANT_CURSORBIND& b, const char* column, void* buffer,
                                  int length, odbcvantTableInfo* table) {
    b = ODBCVANT_CURSORBIND{};
    for (size_t i = 0; column && column[i] && i + 1 < sizeof b.szColName; ++i)
        b.szColName[i] = column[i];
    b.pBuffer = buffer;
    b.nBufLen = length;
    b.pTableInfo = table;
}

inline void odbcvantSetParamBind(ODBCVANT_PBIND& p, const char* column, const void* value) {
    p = ODBCVANT_PBIND{};
    for (size_t i = 0; column && column[i] && i + 1 < sizeof p.szColName; ++i)
        p.szColName[i] = column[i];
    p.pValue = const_cast<void*>(value);
}

extern "C" {
// Receives every error report instead of a message box (window = the caller's owner window).
typedef void (*odbcvantErrorReporter)(void* window, const char* text, const char* caption);
ODBCVANT_API void odbcvantSetErrorReporter(odbcvantErrorReporter fn);
}

// One per process.
class ODBCVANT_API odbcvantEnvironment {
public:
    odbcvantEnvironment();
    virtual ~odbcvantEnvironment();
    int IsValid() const;     // the ODBC environment could be allocated
    void* GetHandle() const; // SQLHENV
    struct Impl;

private:
    Impl* m_impl;
    odbcvantEnvironment(const odbcvantEnvironment&) = delete;
    odbcvantEnvironment& operator=(const odbcvantEnvironment&) = delete;
    friend class odbcvantConnection;
};

// One per program; every cursor, statement and table description is made on it.
class ODBCVANT_API odbcvantConnection {
public:
    explicit odbcvantConnection(odbcvantEnvironment* env);
    virtual ~odbcvantConnection();
    virtual int ReportError(HWND window);
    int IsValid() const; // the connection handle could be allocated
    int ConnectTo(const char* dataSource, const char* user, const char* password);
    int IsConnected() const;
    int ExecuteDirect(const char* sql);   // a statement without results (creation scripts)
    const char* GetDbmsName() const;      // SQL_DBMS_NAME, "" before connecting
    const char* GetLastErrorText() const; // the text ReportError would show, "" when none
    struct Impl;
    Impl* GetImpl() const { return m_impl; }

private:
    Impl* m_impl;
    odbcvantConnection(const odbcvantConnection&) = delete;
    odbcvantConnection& operator=(const odbcvantConnection&) = delete;
};

// The description of one table: its columns with SQL type and width (from SQLColumns).
class ODBCVANT_API odbcvantTableInfo {
public:
    odbcvantTableInfo(odbcvantConnection* conn, const char* tableName);
    virtual ~odbcvantTableInfo();
    virtual int ReportError(HWND window);
    int IsValid() const; // the table was found and has columns
    const char* GetTableName() const;
    int GetColumnCount() const;
    int FindColumn(const char* name) const; // 0-based index, -1 when absent (case-insensitive)
    const char* GetColumnName(int index) const;
    int GetColumnSqlType(int index) const; // SQL_VARCHAR, SQL_INTEGER, ...
    int GetColumnCType(int index) const;   // SQL_C_CHAR, SQL_C_SLONG, ...
    long GetColumnWidth(int index) const;  // characters for text, 0 for long text
    const char* GetLastErrorText() const;
    struct Impl;
    Impl* GetImpl() const { return m_impl; }

private:
    Impl* m_impl;
    odbcvantTableInfo(const odbcvantTableInfo&) = delete;
    odbcvantTableInfo& operator=(const odbcvantTableInfo&) = delete;
};

// A query and its results, fetched one row or a row set at a time.
// Fetches return non-zero when at least one row was filled; at the end out rows is 0 and the
// result 0; on an error out rows is -1 and the result 0.
class ODBCVANT_API odbcvantCursor {
public:
    odbcvantCursor(odbcvantConnection* conn, const char* sql);
    virtual ~odbcvantCursor();
    virtual int ReportError(HWND window);
    int IsValid() const;
    int SetRowSetSize(int rows);
    int SetSingleResult();
    int BindColumns(const ODBCVANT_CURSORBIND* binds, int count);
    int BindColumns(int column, int cType, void* buffer, int length);
    int ExecuteStmt();
    int FetchFirst(int* rows);
    int FetchNext(int* rows);
    int FetchAbsolute(int row, int* rows);
    int SingleFetch();
    long GetTotalResultRows(); // -1 on failure
    int ReUseHandle();
    int ResetQuery(const char* sql);
    const char* GetLastErrorText() const;
    // Off: positioning by re-running the query and skipping, as for forward-only drivers.
    void SetScrollable(int allowed);
    struct Impl;

private:
    Impl* m_impl;
    odbcvantCursor(const odbcvantCursor&) = delete;
    odbcvantCursor& operator=(const odbcvantCursor&) = delete;
};

// Insert, update and delete on one table, values passed as bound parameters.
class ODBCVANT_API odbcvantStmt {
public:
    odbcvantStmt(odbcvantConnection* conn, odbcvantTableInfo* table);
    virtual ~odbcvantStmt();
    virtual int ReportError(HWND window);
    int IsValid() const;
    int PrepareInsert(const ODBCVANT_PBIND* binds, int count);
    int InsertRow();
    int PrepareUpdate(const ODBCVANT_PBIND* binds, int count, const char* condition);
    int UpdateRow();
    int PrepareDelete(const char* condition);
    int DeleteRow();
    long GetRowsAffected() const; // by the last insert, update or delete
    const char* GetLastErrorText() const;
    struct Impl;

private:
    Impl* m_impl;
    odbcvantStmt(const odbcvantStmt&) = delete;
    odbcvantStmt& operator=(const odbcvantStmt&) = delete;
};
