// Event codes, status codes and the library's own error codes of TERN32.
// Plain C so that the exported header can share them with hosts written in C.
#pragma once

/* Library version reported by TERNVersion. */
#define TERN_VERSION 512

/* Socket event codes (wParam of a socket's notification). */
#define TERN_UDP_DATA 15000 /* lParam: datagram length */
#define TERN_UDP_SENT 15001 /* lParam: bytes sent */
#define TERN_UDP_SENDFAIL 15002
#define TERN_UDP_RECVFAIL 15003
#define TERN_STREAM_DATA 15005 /* lParam: chunk length */
#define TERN_STREAM_SENT 15006 /* lParam: bytes of the last send call */
#define TERN_STREAM_SENDFAIL 15007
#define TERN_STREAM_RECVFAIL 15008
#define TERN_STREAM_CONNECT 15009
#define TERN_STREAM_ACCEPT 15010
#define TERN_STREAM_CLOSE 15011
#define TERN_SOCKET_ERROR 15012 /* error code in the socket's last error */
/* Stream sockets that secure their connection with TLS: the handshake has finished and the
   server's certificate passed every check, or securing failed (the reason is the socket's
   security text). */
#define TERN_STREAM_SECURED 15013
#define TERN_STREAM_INSECURE 15014

/* Library message numbers. */
#define TERN_DISPATCH_MSG (0x0400 + 1960)   /* socket events to the dispatch window */
#define TERN_SESSION_MSG (0x0400 + 1)       /* socket events to an SMTP/POP3 session window */
#define TERN_POPCPW_MSG (0x0400 + 2)        /* socket events to a password-change session window */
#define TERN_NETBROWSE_DONE (0x0400 + 1365) /* enumeration worker finished (lParam: success) */

/* The library's own error codes kept in an object's last error. */
#define TERN_ERR_NONE 0
#define TERN_ERR_NOWINDOW 1
#define TERN_ERR_NOMEMORY 2
#define TERN_ERR_BADVALUE 3
#define TERN_ERR_NOTSERVER 4
#define TERN_ERR_NOSOCKET 5
#define TERN_ERR_UDPNOTSERVER (-5)

/* Longest error text plus terminator; TERN*WinSockError text buffers must hold this many bytes. */
#define TERN_ERRTEXT_SIZE 80

/* How a session secures its connection (TERNSMTPSetSecurity, TERNPOP3SetSecurity): in clear
   text; connecting in clear, then STARTTLS (SMTP) or STLS (POP3), refusing a server that does
   not offer it; TLS from the first byte. */
#define TERN_SECURITY_NONE 0
#define TERN_SECURITY_STARTTLS 1
#define TERN_SECURITY_TLS 2

/* SMTP status codes. */
#define TERN_SMTP_DONE 0
#define TERN_SMTP_NOBUFFER 1
#define TERN_SMTP_RECVFAIL 2
#define TERN_SMTP_SENDFAIL 3
#define TERN_SMTP_NOCONNECT 4
#define TERN_SMTP_REFUSED 5
#define TERN_SMTP_NOSPOOL 6
#define TERN_SMTP_NOCOUNT 8
#define TERN_SMTP_NOWINDOW 9
#define TERN_SMTP_NOSERVER 10
#define TERN_SMTP_NOSOCKET 11
#define TERN_SMTP_PEERCLOSED 12
#define TERN_SMTP_NOFROM 13
#define TERN_SMTP_BADSPOOL 14
#define TERN_SMTP_SENT 15
#define TERN_SMTP_CONNECTED 17
#define TERN_SMTP_OK 18
#define TERN_SMTP_PROGRESS 19
#define TERN_SMTP_MSGFAILED 20
/* Sessions that secure their connection or log in (TERNSMTPSetSecurity, TERNSMTPSetLogin): the
   connection is secured; it could not be secured; the login failed. lParam of the last two: the
   reason, with the server's reply when it gave one. */
#define TERN_SMTP_SECURED 21
#define TERN_SMTP_INSECURE 22
#define TERN_SMTP_AUTHFAIL 23

/* POP3 status codes. */
#define TERN_POP3_DONE 0
#define TERN_POP3_NOBUFFER 1
#define TERN_POP3_RECVFAIL 2
#define TERN_POP3_SENDFAIL 3
#define TERN_POP3_NOCONNECT 4
#define TERN_POP3_REFUSED 5
#define TERN_POP3_NOSPOOL 6
#define TERN_POP3_WRITEFAIL 8
#define TERN_POP3_EMPTY 9
#define TERN_POP3_NOWINDOW 10
#define TERN_POP3_NOSERVER 11
#define TERN_POP3_NOSOCKET 12
#define TERN_POP3_PEERCLOSED 13
#define TERN_POP3_NOUSER 14
#define TERN_POP3_NOPASSWORD 15
#define TERN_POP3_STORED 16
#define TERN_POP3_CONNECTED 17
#define TERN_POP3_COUNT 18
#define TERN_POP3_OK 19
#define TERN_POP3_PROGRESS 20
/* Every message is in the spool file and marked for deletion; the session waits for
   TERNPOP3Finish before the server commits the deletions (delete flag TERN_POP3_DELETE_WHEN_STORED). */
#define TERN_POP3_SPOOLED 21
/* The delete flag that leaves the commit to the host: the messages are deleted on the server only
   once the host has stored them and says so through TERNPOP3Finish. */
#define TERN_POP3_DELETE_WHEN_STORED 2
/* Sessions that secure their connection (TERNPOP3SetSecurity): the connection is secured; it
   could not be secured (lParam: the reason, with the server's reply when it gave one). */
#define TERN_POP3_SECURED 22
#define TERN_POP3_INSECURE 23

/* Password-change status codes. */
#define TERN_CPW_NOWINDOW 0
#define TERN_CPW_NOSERVER 1
#define TERN_CPW_NOUSER 2
#define TERN_CPW_NOOLDPASS 3
#define TERN_CPW_NONEWPASS 4
#define TERN_CPW_NOBUFFER 5
#define TERN_CPW_NOSOCKET 6
#define TERN_CPW_NOCONNECT 7
#define TERN_CPW_SENDFAIL 8
#define TERN_CPW_RECVFAIL 9
#define TERN_CPW_PEERCLOSED 10
#define TERN_CPW_CONNECTED 11
#define TERN_CPW_REFUSED 12
#define TERN_CPW_CHANGED 13
#define TERN_CPW_DONE 14
