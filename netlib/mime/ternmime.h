/* TERN32's MIME exports: the preparer writes the outgoing spool file, the scanner reads the
   incoming one. Handles are opaque 32-bit values; 0 is never a valid handle. */
#pragma once

#include <stdint.h>

#include "netlib/mime/scanrecord.h"

#if defined(_WIN32)
#define TERNMIME_API __stdcall
#else
#define TERNMIME_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

#ifndef TERNHANDLE_DEFINED
#define TERNHANDLE_DEFINED
/* An opaque handle of a socket, session, preparer or scanner; 0 is never a valid handle. */
typedef unsigned int TERNHANDLE;
#endif
typedef TERNHANDLE TernMimeHandle;

int32_t TERNMIME_API TERNMimePrepStart(const char* spoolPath, const char* sender,
                                       TernMimeHandle* handle);
int32_t TERNMIME_API TERNMimePrepNewMesg(TernMimeHandle handle, const char* sender);
int32_t TERNMIME_API TERNMimePrepTO(TernMimeHandle handle, const char* address);
int32_t TERNMIME_API TERNMimePrepCC(TernMimeHandle handle, const char* address);
/* Addresses hold at most 127 characters; a subject or a file path at most 255 (-2 beyond). */
int32_t TERNMIME_API TERNMimePrepSubj(TernMimeHandle handle, const char* subject);
int32_t TERNMIME_API TERNMimePrepFile(TernMimeHandle handle, const char* path);
int32_t TERNMIME_API TERNMimePrepData(TernMimeHandle handle, const char* bytes, int32_t length);
int32_t TERNMIME_API TERNMimePrepEndMesg(TernMimeHandle handle);
int32_t TERNMIME_API TERNMimePrepFinish(TernMimeHandle handle);

int32_t TERNMIME_API TERNMimeScanStart(const char* spoolPath, const char* attachDir,
                                       TernMimeHandle* handle);
int32_t TERNMIME_API TERNMimeScanNumMessages(TernMimeHandle handle, int32_t* count);
TernScanRecord* TERNMIME_API TERNMimeScanGetFirst(TernMimeHandle handle);
TernScanRecord* TERNMIME_API TERNMimeScanGetNext(TernMimeHandle handle);
int32_t TERNMIME_API TERNMimeScanClose(TernMimeHandle handle);

/* What went wrong in the message the last GetFirst/GetNext returned, as bits (0: nothing). A
   flagged message is still returned whole, and the messages after it are read as usual. */
#define TERN_SCAN_MALFORMED                                                                        \
    1                         /* a broken MIME structure: from the faulty line on, the message
                                 text holds the lines as they were sent */
#define TERN_SCAN_CUT_SHORT 2 /* the spool file ends inside the message (a retrieval cut short) */
#define TERN_SCAN_NOT_SAVED                                                                        \
    4 /* a file of the message (an attachment, the overflow text) could not be created or written
         whole: the disk is full or the attachment folder refuses it */
#define TERN_SCAN_FILES_LOST                                                                       \
    8 /* attached files beyond the number one message may keep were not saved; the message is
         complete without them */
/* 0 and the bits; -4 without handle. */
int32_t TERNMIME_API TERNMimeScanLastError(TernMimeHandle handle, int32_t* flags);
/* After TERN_SCAN_NOT_SAVED: the platform's error code (GetLastError) of the file that failed;
   0 and the code, -4 without handle. */
int32_t TERNMIME_API TERNMimeScanSystemError(TernMimeHandle handle, int32_t* code);

#ifdef __cplusplus
}
#endif
