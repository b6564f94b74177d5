#include "common/win/settingsnotice.h"

#include "common/catalog/msgcatalog.h"
#include "common/catalog/textformat.h"
#include "common/clock/localtime.h"
#include "common/log/logwriter.h"
#include "common/settings/install_path.h"
#include "common/win/uiseam.h"

namespace lx {
namespace {
constexpr char kNotSavedText[] = "NEWMAIL_CPP_7";
constexpr char kNotSavedCaption[] = "NEWMAIL_CPP_8";
constexpr char kNotSavedLogEntry[] = "NEWMAIL_CPP_9";
constexpr char kLogFile[] = "Lorvex.Log";
} // namespace

bool ReportIfNotSaved(bool written, HWND owner, MessageCatalog* catalog, const char* where) {
    if (written) return true;
    const std::string format = CatalogText(catalog, kNotSavedText);
    const std::string caption = CatalogText(catalog, kNotSavedCaption);
    const std::string text = FormatTextOr(format.c_str(), {where ? where : ""}, format.c_str());
    ui::MessageBox(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
    return false;
}

bool LogNotice(const std::string& installPath, MessageCatalog& catalog, const char* key,
               const std::vector<FormatArg>& args) {
    LogWriter log;
    if (!log.Open(InstallFile(installPath, kLogFile))) return false;
    const LogTime now = LocalTimeNow();
    log.WriteDateStamp(catalog, now);
    log.WriteMessage(catalog, key, args);
    log.CloseRun(catalog, now);
    return true;
}

bool LogIfNotSaved(bool written, const std::string& installPath, MessageCatalog* catalog,
                   const char* where) {
    if (written || !catalog) return written;
    LogNotice(installPath, *catalog, kNotSavedLogEntry, {where ? where : ""});
    return false;
}

} // namespace lx
