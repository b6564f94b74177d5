// Error capture and the error report of every store object.
#include "odbcvant/internal.h"

#include <atomic>
#include <cctype>
#include <cstdio>

namespace {
std::atomic<odbcvantErrorReporter> g_reporter{nullptr};
// The component has no message catalogue of its own: the report is the store's diagnostic text.
const char kCaption[] = "OdbcVant";
} // namespace

extern "C" ODBCVANT_API void odbcvantSetErrorReporter(odbcvantErrorReporter fn) {
    g_reporter.store(fn);
}

namespace lx {
namespace odbc {

void Diag::Capture(SQLSMALLINT handleType, SQLHANDLE handle) {
    m_text.clear();
    for (SQLSMALLINT rec = 1; rec <= 16; ++rec) {
        SQLCHAR state[6] = {0};
        SQLINTEGER native = 0;
        SQLCHAR message[SQL_MAX_MESSAGE_LENGTH + 1] = {0};
        SQLSMALLINT len = 0;
        SQLRETURN rc = SQLGetDiagRec(handleType, handle, rec, state, &native, message,
                                     static_cast<SQLSMALLINT>(sizeof(message)), &len);
        if (!Ok(rc)) break;
        char line[64];
        std::snprintf(line, sizeof(line),
                      "SQLSTATE %.5s, native error %ld: ", reinterpret_cast<const char*>(state),
                      static_cast<long>(native));
        if (!m_text.empty()) m_text += "\n";
        m_text += line;
        m_text += reinterpret_cast<const char*>(message);
    }
    if (m_text.empty())
        m_text =
            "SQLSTATE HY000, native error 0: the store reported a failure without a diagnostic";
}

void Diag::SetOwn(const char* state, const std::string& message) {
    m_text = "SQLSTATE ";
    m_text += state;
    m_text += ", native error 0: ";
    m_text += message;
}

int Diag::Report(HWND window) const {
    if (m_text.empty()) return 0;
    odbcvantErrorReporter fn = g_reporter.load();
    if (fn) {
        fn(reinterpret_cast<void*>(window), m_text.c_str(), kCaption);
        return 1;
    }
#ifdef _WIN32
    MessageBoxA(window, m_text.c_str(), kCaption, MB_OK | MB_ICONSTOP);
#else
    std::fprintf(stderr, "%s: %s\n", kCaption, m_text.c_str());
#endif
    return 1;
}

SQLSMALLINT CTypeForSqlType(SQLSMALLINT sqlType) {
    switch (sqlType) {
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_LONGVARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR:
    case SQL_DECIMAL:
    case SQL_NUMERIC:
    case SQL_GUID: return SQL_C_CHAR;
    case SQL_INTEGER:
    case SQL_BIGINT: return SQL_C_SLONG;
    // A flag column is a bit on one engine and a smallint on another: both move through the
    // same 16-bit field, so a caller's buffer fits whichever engine holds the store.
    case SQL_SMALLINT:
    case SQL_TINYINT:
    case SQL_BIT: return SQL_C_SSHORT;
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
    case SQL_TYPE_DATE:
    case SQL_DATE: return SQL_C_TYPE_TIMESTAMP;
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE: return SQL_C_DOUBLE;
    default: return 0;
    }
}

size_t FixedCSize(SQLSMALLINT cType) {
    switch (cType) {
    case SQL_C_SLONG:
    case SQL_C_LONG: return sizeof(SQLINTEGER);
    case SQL_C_SSHORT:
    case SQL_C_SHORT: return sizeof(SQLSMALLINT);
    case SQL_C_BIT: return sizeof(unsigned char);
    case SQL_C_TYPE_TIMESTAMP:
    case SQL_C_TIMESTAMP: return sizeof(TIMESTAMP_STRUCT);
    case SQL_C_DOUBLE: return sizeof(double);
    default: return 0;
    }
}

SQLSMALLINT CTypeForShortForm(int code) {
    switch (code) {
    case ODBCVANT_TEXT: return SQL_C_CHAR;
    case ODBCVANT_INT32:
    case SQL_C_SLONG: return SQL_C_SLONG;
    case ODBCVANT_INT16:
    case SQL_C_SSHORT: return SQL_C_SSHORT;
    case ODBCVANT_BIT: return SQL_C_BIT;
    case SQL_C_TYPE_TIMESTAMP:
    case SQL_C_TIMESTAMP: return SQL_C_TYPE_TIMESTAMP;
    default: return 0;
    }
}

std::string ToUpperAscii(const std::string& s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string BareColumnName(const char* name) {
    std::string s(name ? name : "");
    size_t dot = s.rfind('.');
    if (dot != std::string::npos) s.erase(0, dot + 1);
    return s;
}

} // namespace odbc
} // namespace lx
