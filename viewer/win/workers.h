// The viewer's two worker threads: the loader reads the message from the store and the page
// writer writes the message page into a file in the install folder, each stage handed from the
// first to the second as soon as it is read. Both report to the frame only by posting messages.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "common/schema/storeconnection.h"
#include "viewer/core/pipeline.h"

namespace lx::viewer {

// Posted by the loader when the message has been read (or could not be).
constexpr UINT WM_LXV_LOADED = WM_USER + 20000;
// Posted by the page writer when the page is complete (or could not be made).
constexpr UINT WM_LXV_PAGE_READY = WM_USER + 20001;
// Open attachment lParam (sent by the simple view's list).
constexpr UINT WM_LXV_OPEN_ATTACHMENT = WM_USER + 20002;
// Navigate to the URL text lParam points to.
constexpr UINT WM_LXV_NAVIGATE = WM_USER + 100;

// What the workers share with the frame. The frame reads `data` only after WM_LXV_LOADED and the
// page fields only after WM_LXV_PAGE_READY; `store` belongs to the loader until WM_LXV_LOADED.
struct MessageJob {
    std::int32_t mesgNum = 0;
    std::size_t bufferSize = 0;
    std::string installFolder;
    MessageData data;
    StageHandover handover;
    StoreConnection store;
    LoadTexts loadTexts;
    PageTexts pageTexts;
    // Test hook: each stage handed over this much later on the loader's side.
    DWORD stageDelayMillis = 0;

    std::mutex pageLock;      // the page fields below
    std::string pagePath;     // upper-cased; empty when the page file could not be made
    std::string bodyFilePath; // the separate HTML body file, when one was written
    PageOutcome pageOutcome = PageOutcome::TimedOut;
};

// Starts the threads; each holds the job for as long as it runs.
std::thread StartLoader(std::shared_ptr<MessageJob> job, HWND frame);
std::thread StartPageWriter(std::shared_ptr<MessageJob> job, HWND frame, bool messageMode);

} // namespace lx::viewer
