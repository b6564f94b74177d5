// TERN32.dll: the exported interface of the Lorvex network library.
// Every export is undecorated, uses the WINAPI convention and returns a 32-bit signed result.
// Objects reach the host as opaque 32-bit handles; results arrive only as posted messages
// (window mode: PostMessage to the host window; thread mode: PostThreadMessage to the host thread).
// A host links TERN32 by its import library.
#pragma once

#include <windows.h>

#include "netlib/core/codes.h"

#ifdef __cplusplus
extern "C" {
#endif

#ifdef LX_BUILDING_TERN32
#define TERNAPI
#else
#define TERNAPI __declspec(dllimport)
#endif

#ifndef TERNHANDLE_DEFINED
#define TERNHANDLE_DEFINED
// An opaque handle of a socket, session, preparer or scanner; 0 is never a valid handle.
typedef unsigned int TERNHANDLE;
#endif

// Library frame
TERNAPI int WINAPI TERNStartWinSock(WORD version);
TERNAPI int WINAPI TERNEndWinSock(void);
TERNAPI int WINAPI TERNVersion(void);
// description: 257 bytes, systemStatus: 129 bytes, vendorInfo: 257 bytes
TERNAPI int WINAPI TERNGetWinSockInfo(WORD* highVersion, char* description, char* systemStatus,
                                      WORD* maxSockets, WORD* maxDatagram, char* vendorInfo);
// hostName: at least 40 bytes, addresses: 128 bytes ("a.b.c.d+e.f.g.h")
TERNAPI int WINAPI TERNGetMyName(char* hostName, char* addresses);
TERNAPI int WINAPI TERNGetServerIP(const char* hostName, char* addresses);
// text: TERN_ERRTEXT_SIZE bytes
TERNAPI int WINAPI TERNLastWinSockError(int* code, char* text);
// replyAddr: 16 bytes (IPv4 socket address)
TERNAPI int WINAPI TERNMakeReplyAddr(const char* dottedAddress, int port, void* replyAddr);
// text: at least 16 bytes
TERNAPI int WINAPI TERNIPFromReplyAddr(const void* replyAddr, char* text);
// serverName: TERN_SERVERNAME_SIZE bytes; longer names are cut
TERNAPI int WINAPI TERNGetServerNameDlg(HWND parent, char* serverName);

// Stream sockets
TERNAPI int WINAPI TERNCreateStreamClientWindow(HWND hostWindow, UINT message, TERNHANDLE* handle);
TERNAPI int WINAPI TERNCreateStreamClientThread(DWORD hostThread, UINT message, TERNHANDLE* handle);
TERNAPI int WINAPI TERNCreateStreamServerWindow(int port, HWND hostWindow, UINT message,
                                                TERNHANDLE* handle);
TERNAPI int WINAPI TERNCreateStreamServerThread(int port, DWORD hostThread, UINT message,
                                                TERNHANDLE* handle);
TERNAPI int WINAPI TERNCreateStreamCommWindow(HWND hostWindow, UINT message, TERNHANDLE* handle);
TERNAPI int WINAPI TERNCreateStreamCommThread(DWORD hostThread, UINT message, TERNHANDLE* handle);
TERNAPI int WINAPI TERNStreamConnectToPort(TERNHANDLE handle, const char* host, int port);
TERNAPI int WINAPI TERNStreamConnectToService(TERNHANDLE handle, const char* host,
                                              const char* service);
TERNAPI int WINAPI TERNStreamWrite(TERNHANDLE handle, const void* data, int length);
TERNAPI int WINAPI TERNStreamRead(TERNHANDLE handle, void* buffer, int length);
TERNAPI int WINAPI TERNSetStreamBufferSize(TERNHANDLE handle, int size);
TERNAPI int WINAPI TERNStreamAccept(TERNHANDLE server, TERNHANDLE comm);
// text: at least 16 bytes
TERNAPI int WINAPI TERNStreamGetClientIP(TERNHANDLE handle, char* text);
TERNAPI int WINAPI TERNLastStreamWinSockError(TERNHANDLE handle, int* code, char* text);
TERNAPI int WINAPI TERNCloseStream(TERNHANDLE handle);

// UDP sockets
TERNAPI int WINAPI TERNCreateUDPServer1(int port, HWND hostWindow, UINT message,
                                        TERNHANDLE* handle);
TERNAPI int WINAPI TERNCreateUDPServer2(int port, DWORD hostThread, UINT message,
                                        TERNHANDLE* handle);
TERNAPI int WINAPI TERNCreateUDPClient1(HWND hostWindow, UINT message, TERNHANDLE* handle);
TERNAPI int WINAPI TERNCreateUDPClient2(DWORD hostThread, UINT message, TERNHANDLE* handle);
TERNAPI int WINAPI TERNUDPWriteToPort(TERNHANDLE handle, const void* data, int length,
                                      const char* host, int port);
TERNAPI int WINAPI TERNUDPWriteToService(TERNHANDLE handle, const void* data, int length,
                                         const char* host, const char* service);
TERNAPI int WINAPI TERNUDPRead(TERNHANDLE handle, void* buffer, int length, void* senderAddr);
TERNAPI int WINAPI TERNUDPReply(TERNHANDLE handle, const void* data, int length,
                                const void* destAddr);
TERNAPI int WINAPI TERNUDPGetSocketInfo(TERNHANDLE handle, char* addressText, int* port);
TERNAPI int WINAPI TERNSetUDPBufferSize(TERNHANDLE handle, int size);
TERNAPI int WINAPI TERNLastUDPWinSockError(TERNHANDLE handle, int* code, char* text);
TERNAPI int WINAPI TERNCloseUDP(TERNHANDLE handle);

// SMTP client
TERNAPI int WINAPI TERNSMTPStartWindow(HWND hostWindow, UINT message, const char* spoolPath,
                                       TERNHANDLE* handle);
TERNAPI int WINAPI TERNSMTPStartThread(DWORD hostThread, UINT message, const char* spoolPath,
                                       TERNHANDLE* handle);
TERNAPI int WINAPI TERNSMTPSendMail(TERNHANDLE handle, const char* server);
TERNAPI int WINAPI TERNSMTPClose(TERNHANDLE handle);
// How the session's next run secures its connection (TERN_SECURITY_*), the server's port (0: the
// usual one for the security: 25, 587 with STARTTLS, 465 with TLS) and, optionally, the SHA-256
// fingerprint of the one certificate the server must present (64 hexadecimal digits, in pairs
// that may be separated by colons; NULL or "": the system's trusted authorities and the server's
// name decide). 0; -3 for a security value or fingerprint that is not valid (nothing changes);
// -4 without handle.
TERNAPI int WINAPI TERNSMTPSetSecurity(TERNHANDLE handle, int security, int port, const char* pin);
// The login of the next run (AUTH: PLAIN or LOGIN over a secured connection, CRAM-MD5 on any);
// user NULL or "": none. 0; -3 for a user name or password of 256 characters or more; -4.
TERNAPI int WINAPI TERNSMTPSetLogin(TERNHANDLE handle, const char* user, const char* password);

// POP3 client
TERNAPI int WINAPI TERNPOP3StartWindow(HWND hostWindow, UINT message, const char* spoolPath,
                                       TERNHANDLE* handle);
TERNAPI int WINAPI TERNPOP3StartThread(DWORD hostThread, UINT message, const char* spoolPath,
                                       TERNHANDLE* handle);
TERNAPI int WINAPI TERNPOP3IsThereMail(TERNHANDLE handle, const char* server, const char* user,
                                       const char* password, int apop);
TERNAPI int WINAPI TERNPOP3PullMail(TERNHANDLE handle, const char* server, const char* user,
                                    const char* password, int deleteAfter, int apop);
TERNAPI int WINAPI TERNPOP3NumMail(TERNHANDLE handle, int* count);
// After TERN_POP3_SPOOLED: deleteMessages 1 lets the server delete the retrieved messages (QUIT);
// 0 keeps them all there (RSET, then QUIT). -1 when the session is not waiting for it.
TERNAPI int WINAPI TERNPOP3Finish(TERNHANDLE handle, int deleteMessages);
TERNAPI int WINAPI TERNPOP3Close(TERNHANDLE handle);
// As TERNSMTPSetSecurity, for POP3 (usual ports: 110, with STLS too; 995 with TLS).
TERNAPI int WINAPI TERNPOP3SetSecurity(TERNHANDLE handle, int security, int port, const char* pin);

// Password-change client
TERNAPI int WINAPI TERNPOPCPWStartWindow(HWND hostWindow, UINT message, TERNHANDLE* handle);
TERNAPI int WINAPI TERNPOPCPWStartThread(DWORD hostThread, UINT message, TERNHANDLE* handle);
TERNAPI int WINAPI TERNPOPCPWChangeNow(TERNHANDLE handle, const char* server, const char* user,
                                       const char* oldPassword, const char* newPassword);
TERNAPI int WINAPI TERNPOPCPWClose(TERNHANDLE handle);

#ifdef __cplusplus
}
#endif

// Buffer size for TERNGetServerNameDlg's result (server names are at most 47 characters).
#define TERN_SERVERNAME_SIZE 48

// MIME preparation and scanning live in the same library.
#if defined(__has_include)
#if __has_include("netlib/mime/ternmime.h")
#include "netlib/mime/ternmime.h"
#endif
#endif
