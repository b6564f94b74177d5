#include "viewer/win/workers.h"

#include <cctype>

#include "common/settings/install_path.h"
#include "common/win/handles.h"
#include "viewer/store/storesource.h"

namespace lx::viewer {

namespace {

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool WriteAll(HANDLE file, const std::string& text) {
    DWORD written = 0;
    return text.empty() ||
           (::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
            written == text.size());
}

// The HTML body file is made anew: an existing file of that name is never overwritten.
bool WriteNewFile(const std::string& path, const std::string& content) {
    UniqueHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    if (WriteAll(file.Get(), content)) return true;
    file.Reset();
    ::DeleteFileA(path.c_str());
    return false;
}

void WritePage(MessageJob& job, bool messageMode) {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const std::string pagePath =
        Upper(InstallFile(job.installFolder, PageFileName(now.wSecond, now.wMilliseconds).c_str()));
    UniqueHandle file(::CreateFileA(pagePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return; // no page path: the frame shows the page as not made
    {
        std::lock_guard<std::mutex> guard(job.pageLock);
        job.pagePath = pagePath;
    }
    PageJob page;
    page.bufferSize = job.bufferSize;
    page.messageMode = messageMode;
    page.htmlBodyPath =
        InstallFile(job.installFolder, BodyFileName(now.wSecond, now.wMilliseconds).c_str());
    page.writeBodyFile = &WriteNewFile;
    MessagePageWriter writer(pagePath, job.pageTexts);
    const PageOutcome outcome =
        RunPageWriter(writer, job.data, job.handover, page,
                      [&](const std::string& part) { return WriteAll(file.Get(), part); });
    ::FlushFileBuffers(file.Get());
    std::lock_guard<std::mutex> guard(job.pageLock);
    job.pageOutcome = outcome;
    if (writer.HtmlBodyWritten()) job.bodyFilePath = Upper(page.htmlBodyPath);
}

} // namespace

std::thread StartLoader(std::shared_ptr<MessageJob> job, HWND frame) {
    return std::thread([job, frame] {
        StoreMessageSource source(job->store, job->mesgNum, job->bufferSize);
        const DWORD delay = job->stageDelayMillis;
        RunLoader(source, job->data, job->handover, job->loadTexts, [delay](LoadStage) {
            if (delay > 0) ::Sleep(delay);
        });
        ::PostMessageA(frame, WM_LXV_LOADED, 0, 0);
    });
}

std::thread StartPageWriter(std::shared_ptr<MessageJob> job, HWND frame, bool messageMode) {
    return std::thread([job, frame, messageMode] {
        WritePage(*job, messageMode);
        ::PostMessageA(frame, WM_LXV_PAGE_READY, 0, 0);
    });
}

} // namespace lx::viewer
