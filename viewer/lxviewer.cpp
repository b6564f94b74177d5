#include "viewer/lxviewer.h"

#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <new>

#include "common/catalog/msgcatalog.h"
#include "common/settings/install_path.h"
#include "common/settings/registry_win32.h"
#include "common/win/uiseam.h"
#include "odbcvant/odbcvant.h"
#include "viewer/aboutdlg.h"
#include "viewer/core/cmdline.h"
#include "viewer/mainfrm.h"
#include "viewer/res/resource.h"
#include "viewer/win/messageprint.h"

namespace lx::viewer {

namespace {

constexpr char kCatalogueFile[] = "LXVTEXT.VSF";
constexpr char kSharedMutex[] = "Lorvex_Mutex";
// Only start-up texts that are not in the catalogue: the catalogue is what failed.
constexpr char kNoCatalogueObject[] = "Not enough memory to create SSEngine Object";
constexpr char kNoCatalogueText[] = "Unable to load Lorvex Viewer String File : LXVTEXT.VSF";
// Test hook: milliseconds each loader stage is handed over later.
constexpr char kStageDelayVariable[] = "LORVEX_VIEWER_STAGE_DELAY";
constexpr int kStartFailed = 1;

// The registry's InstallPath in its short form; empty when missing.
std::string InstallFolder() {
    const std::string stored = ReadInstallPath();
    if (stored.empty()) return stored;
    char shortPath[MAX_PATH] = "";
    const DWORD got = ::GetShortPathNameA(stored.c_str(), shortPath, sizeof shortPath);
    return got > 0 && got < sizeof shortPath ? std::string(shortPath) : stored;
}

DWORD StageDelay() {
    char value[16] = "";
    const DWORD got = ::GetEnvironmentVariableA(kStageDelayVariable, value, sizeof value);
    return got > 0 && got < sizeof value ? std::strtoul(value, nullptr, 10) : 0;
}

// Store errors are shown through the UI seam like every other box.
void ReportStoreError(void* window, const char* text, const char* caption) {
    ui::MessageBox(static_cast<HWND>(window), text, caption, MB_OK | MB_ICONEXCLAMATION);
}

int MessageLoop(ViewerFrame& frame) {
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (frame.TranslateKey(&msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

} // namespace

int RunViewer(const char* commandLine, int showState) {
    ui::SetAppTitle("Lorvex Viewer");
    const std::string folder = InstallFolder();

    std::unique_ptr<MessageCatalog> catalog(new (std::nothrow) MessageCatalog);
    if (!catalog) {
        ui::MessageBox(nullptr, kNoCatalogueObject, ui::AppTitle(), MB_OK);
        return kStartFailed;
    }
    if (!catalog->Open(InstallFile(folder, kCatalogueFile).c_str(), CatalogMagic::Exact) ||
        !catalog->Loaded()) {
        catalog.reset();
        ui::MessageBox(nullptr, kNoCatalogueText, ui::AppTitle(), MB_OK);
        return kStartFailed;
    }
    ui::SetCatalog(catalog.get());
    odbcvantSetErrorReporter(&ReportStoreError);

    const std::string line = commandLine ? commandLine : "";
    const ViewerCommandLine parsed = ParseViewerCommandLine(line);
    if (CheckViewerCommandLine(line, parsed) != CommandLineVerdict::Usable) {
        // Not meant to be run by hand.
        ShowAboutDialog(nullptr);
        return kStartFailed;
    }

    FrameSettings settings;
    settings.installFolder = folder;
    settings.commandLine = parsed;
    settings.catalog = catalog.get();
    settings.stageDelayMillis = StageDelay();
    if (parsed.mesgSize > 0) {
        // The main program released the mutex just before it started the viewer and waits for
        // it: holding it until the message is read keeps the main program from going on.
        settings.sharedMutex.Reset(::CreateMutexA(nullptr, FALSE, kSharedMutex));
        if (!settings.sharedMutex) {
            ui::CatalogAppBox(*catalog, "LXVIEWER_CPP_3", MB_OK | MB_ICONSTOP);
            return kStartFailed;
        }
        const DWORD waited = ::WaitForSingleObject(settings.sharedMutex.Get(), INFINITE);
        if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
            ui::CatalogAppBox(*catalog, "LXVIEWER_CPP_3", MB_OK | MB_ICONSTOP);
            return kStartFailed;
        }
    }

    int code = kStartFailed;
    {
        // Only a shown message is printed with the print engine; its fonts are read at start.
        std::unique_ptr<MessagePrinter> printer;
        if (parsed.mesgNum >= 1) printer = std::make_unique<MessagePrinter>(*catalog, folder);
        ViewerFrame frame(std::move(settings));
        if (printer)
            frame.PlugPrint([p = printer.get()](HWND window, const MessageData& message) {
                p->Print(window, message);
            });
        if (frame.Create(showState)) code = MessageLoop(frame);
    }
    ui::SetCatalog(nullptr);
    return code;
}

} // namespace lx::viewer
