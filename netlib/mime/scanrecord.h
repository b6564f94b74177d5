/* The record the MIME scanner hands its host for each incoming message. Its layout is part of
   TERN32's interface. The record and everything it points to belong to the scanner and stay
   valid until the next TERNMimeScanGetNext or TERNMimeScanClose; the host copies what it keeps. */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define TERN_SCAN_MAX_ADDRS 32
#define TERN_SCAN_MAX_FILES 12

typedef struct TernScanRecord {
    char MesgId[64];
    char Date[40];
    char From[80];
    char ReplyTo[80];
    char Subject[256];
    char* To[TERN_SCAN_MAX_ADDRS];
    int32_t ToCount;
    char* Cc[TERN_SCAN_MAX_ADDRS];
    int32_t CcCount;
    char* Files[TERN_SCAN_MAX_FILES]; /* full paths of the decoded attachment files */
    int32_t FileCount;
    char* Text;         /* zero-terminated message text */
    int32_t TextLength; /* bytes including the terminator */
} TernScanRecord;

#ifdef __cplusplus
}
#endif
