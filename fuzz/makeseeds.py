#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets from the cases the unit tests use (a catalogue,
mailbox and dialer records, filter and signature files, viewer requests, address files and the
recorded server conversations). Run it again after changing a format; the seeds are committed."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def put(folder, name, data):
    path = os.path.join(HERE, folder, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("latin-1"))


def text(s, n):
    b = s.encode("latin-1")[: n - 1]
    return b + b"\0" * (n - len(b))


# --- the message catalogue: two modules
def catalogue():
    modules = [("MAINFRM_CPP", ["Lorvex##note", "Check at %02d/%02d/%04d %02d:%02d:%02d", "a # b##c"]),
               ("VIEWLOG_CPP", ["There is no log file.\r", "%s mailbox %d"])]
    header = bytearray(4944)
    header[0:17] = b"Vellumstack v1.0\0"
    body = b""
    for i, (name, lines) in enumerate(modules):
        header[68 + 32 * i: 68 + 32 * (i + 1)] = text(name, 32)
        struct.pack_into("<i", header, 4164 + 4 * i, 4944 + len(body))
        struct.pack_into("<h", header, 4676 + 2 * i, len(lines))
        body += "".join(l + "\n" for l in lines).encode("latin-1")
    put("records/seeds/catalog", "two-modules", bytes(header) + body)


# --- settings: the first byte chooses the file
def mailbox(name, security=False, current=0):
    r = text(name, 13) + text("pop.example.org", 80) + text("smtp.example.org", 80)
    r += text("joe@example.org", 80) + text("joe", 64) + text("vhfuhw", 17)
    r += struct.pack("<iii", 1, 0, current) + text("_IN", 17) + struct.pack("<i", 3)
    spare = b"LX" + bytes([1, 2]) + struct.pack("<HH", 995, 465) + b"\1" + b"\0" * 8 if security else b"\0" * 17
    return r + spare


def settings():
    box = struct.pack("<h", 2) + mailbox("Home", True, 1) + mailbox("Work")
    put("records/seeds/settings", "mailboxx-two", b"\0" + box)
    old = mailbox("Old")
    setx = old[:317] + text("vhfuhw", 16) + old[334:] + b"\0"
    put("records/seeds/settings", "mailsetx-one", b"\1" + struct.pack("<h", 1) + setx)
    set3 = text("Oldest", 13) + text("pop", 80) + text("smtp", 80) + text("a@b", 80) + text("user", 16)
    set3 += text("pw", 16) + struct.pack("<iii", 0, 1, 1)
    put("records/seeds/settings", "mailset3-two", b"\2" + struct.pack("<h", 2) + set3 * 2)
    dial = struct.pack("<iii", 600, 1, 0) + text("Provider", 256) + text("user", 256) + text("pw", 256)
    dial += text("Home", 13) + text("Work", 13) + b"\0" * 13 * 8 + struct.pack("<ii", 2, 600) + b"\0" * 10
    put("records/seeds/settings", "autodial", b"\3" + dial)
    font = struct.pack("<iiiii", -14, 0, 0, 0, 400) + bytes([0, 0, 0, 1, 3, 1, 0, 0]) + text("Arial", 32)
    put("records/seeds/settings", "font", b"\4" + font)
    rects = struct.pack("<4i", 10, 10, 700, 500) + struct.pack("<4i", 0, 0, 36, 20)
    rects += struct.pack("<4i", 36, 0, 156, 20) + struct.pack("<4i", 156, 0, 382, 20) + struct.pack("<4i", 382, 0, 600, 20)
    put("records/seeds/settings", "windows", b"\5" + rects)


# --- the filter file: current and older layout
def filters():
    def rule(name, fields, address, subject, message, action, folder, num, old=False):
        r = text(name, 16) + fields.encode() + text(address, 81) + text(subject, 24 if old else 32)
        if not old:
            r += text(message, 32)
        return r + action.encode() + text(folder, 17) + struct.pack("<i", num) + b"\0" * 8
    head = text("Lorvex v2.0", 13) + text("Incoming mail filters of Lorvex - do not edit", 49) + struct.pack("<h", 2)
    rules = rule("Spam", "O", "spam", "WIN", "", "D", "", 0) + rule("Lists", "U", "", "[list]", "unsubscribe", "F", "Lists", 9)
    put("records/seeds/filters", "two-rules", head + rules + b"\0")
    oldhead = text("Lorvex v1.0", 13) + b"\0" * 49 + struct.pack("<h", 1)
    put("records/seeds/filters", "old-layout", oldhead + rule("Boss", "A", "boss@", "", "", "F", "Work", 4, True))


# --- the signature file: three slots, one deleted
def signature():
    idx = bytearray(1296)
    struct.pack_into("<i", idx, 0, 3)
    for i, name in enumerate(["Work", "Home", "Old"]):
        idx[4 + 32 * i: 4 + 32 * (i + 1)] = text(name, 32)
        struct.pack_into("<i", idx, 1028 + 4 * i, 1296 + 512 * i)
    struct.pack_into("<i", idx, 1156 + 8, 1)
    blocks = b"".join(text(t, 512) for t in ["Joe\r\nExample Ltd", "-- \r\nJoe", "gone"])
    # The tail: edits (the fuzzer's structured bytes)
    put("records/seeds/signature", "three-slots", bytes(idx) + blocks)


# --- viewer requests
def viewreq():
    def record(code, sender, to, tocount, cc, cccount, subject, sep=2):
        r = struct.pack("<iii", code, 12, 4096) + text(sender, 81) + struct.pack("<i", sep)
        r += text(to, 1856) + struct.pack("<i", tocount) + text(cc, 1856) + struct.pack("<i", cccount)
        return r + text(subject, 256)
    put("records/seeds/viewreq", "reply", record(3, "Ann <ann@example.org>", "me@example.org\r\nkim@example.org\r\n", 2,
                                                 "lee@example.org\r\n", 1, "Re: lunch"))
    put("records/seeds/viewreq", "mailto", record(4, "", "someone@example.org", 0, "", 0, "???", 0))
    put("records/seeds/viewercmd", "launch", 'C:\\LORVEX\\LXVIEWER.EXE /WAIT"C:\\LORVEX\\WAIT.HTM" /MESGNUM12 /MESGSIZE4096 /TRASHCAN6')
    put("records/seeds/viewerpage", "html", '<HTML><BODY onload="x()"><P style="color:red">Hi <A HREF="java&#115;cript:alert(1)">a</A>'
        '<script>alert(1)</script><IMG SRC=http://example.org/a.png><!-- c --><a href=\'mailto:a@b\'>m</a></BODY></HTML>')
    put("records/seeds/viewerpage", "plain", "Hello,\r\nsee http://example.org/a_(b). and www.example.org, or mailto:ann@example.org\n"
        "<b>not markup</b> \"quoted\" ftp://www.example.org\rlast")
    put("records/seeds/viewercmd", "browse", '/VIEWMASTER /WAIT"C:\\LORVEX\\HOME.HTM" mailto:x@y ftp:///[LORVEX]C:/LORVEX/DATA/A.TXT')


# --- address files
def addresses():
    def rec(name, note, dest):
        r = bytearray(456)
        r[0:len(name)] = name.encode()
        r[260:260 + len(note)] = note.encode()
        r[340:340 + len(dest)] = dest.encode()
        return bytes(r) + b"\0\0"
    put("addrimport/seeds/fixedrec", "two-records", text("Pegasus book", 130) + rec("Ann Lee", "Sales", "ann@example.org")
        + rec("Kim O'Hara", "", "kim@example.org"))
    put("addrimport/seeds/alias", "aliases", 'alias ann ann@example.org\r\nnote ann Sales\r\nalias "Kim O" kim@example.org\r\nALIAS x y@z\r')
    put("addrimport/seeds/delimited", "export", '"Name","Email Address","Notes"\r\n"Ann ""A"" Lee","ann@example.org","Sales"\r\n"Kim","kim@example.org",""\r\n')
    put("addrimport/seeds/mapi", "recipients", "Ann\x10SMTP:ann@example.org\x10Bob\x10EX:/o=Org/cn=bob")


# --- server conversations. The session targets read their choices and chunk lengths from the end
# of the input (FuzzedDataProvider) and the server's bytes from the front.
def conversation(opts, chunks):
    front, tail = b"", [opts]
    for c in chunks:
        c = c.encode("latin-1")
        front += c
        if len(c) <= 128:
            tail += [0, len(c) - 1]
        else:
            n = len(c) - 1
            tail += [130, n >> 8, n & 0xFF]
    return front + bytes(reversed(tail))


POP3_LOGIN = ["+OK POP3 ready <1896.697170952@dbc.mtview.ca.us>\r\n", "+OK\r\n", "+OK logged in\r\n", "+OK\r\n"]
MSG1 = "+OK 38 octets\r\nSubject: one\r\n\r\nbody\r\n..dotted\r\n.\r\n"
MSG2 = "+OK 20 octets\r\nSubject: two\r\n\r\nx\r\n.\r\n"


def sessions():
    put("sessions/seeds/pop3", "retr-two", conversation(0, POP3_LOGIN + ["+OK 2 58\r\n", "+OK 1 a\r\n", MSG1, "+OK 2 b\r\n", MSG2, "+OK bye\r\n"]))
    put("sessions/seeds/pop3", "retr-dele-host", conversation(2 | 8, POP3_LOGIN + ["+OK 1 38\r\n", "+OK 1 a\r\n", MSG1, "+OK deleted\r\n", "+OK bye\r\n"]))
    put("sessions/seeds/pop3", "stls-apop", conversation(4 | (1 << 5), [POP3_LOGIN[0], "+OK begin TLS\r\n", "+OK\r\n", "+OK\r\n", "+OK 0 0\r\n", "+OK bye\r\n"]))
    put("sessions/seeds/pop3", "check-only", conversation(1, POP3_LOGIN + ["+OK 5 1200\r\n", "+OK bye\r\n"]))
    smtp_plain = ["220 mail.example.org ESMTP\r\n", "250 hello\r\n", "250 sender ok\r\n", "250 recipient ok\r\n",
                  "354 go ahead\r\n", "250 queued\r\n", "221 bye\r\n"]
    put("sessions/seeds/smtp", "one-message", conversation(0, smtp_plain))
    ehlo = "250-mail.example.org\r\n250-PIPELINING\r\n250-STARTTLS\r\n250-AUTH PLAIN LOGIN CRAM-MD5\r\n250 8BITMIME\r\n"
    put("sessions/seeds/smtp", "starttls-login", conversation((1 << 2) | (1 << 4), [
        "220 ready\r\n", ehlo, "220 go ahead\r\n", ehlo, "235 ok\r\n", "250 ok\r\n", "250 ok\r\n", "354 go\r\n", "250 ok\r\n", "221 bye\r\n"]))
    put("sessions/seeds/smtp", "cram-md5", conversation(1 << 4, [
        "220 ready\r\n", ehlo, "334 PDQxOTI5NDIzNDEuMTI4Mjg0NzJAc291cmNlZm91ci5hbmRyZXcuY211LmVkdT4=\r\n", "235 ok\r\n",
        "250 ok\r\n", "250 ok\r\n", "354 go\r\n", "250 ok\r\n", "221 bye\r\n"]))
    put("sessions/seeds/smtp", "two-messages-one-refused", conversation(3, [
        "220 ready\r\n", "250 hi\r\n", "250 ok\r\n", "550 no such user\r\n", "250 reset\r\n", "250 ok\r\n",
        "250 ok\r\n", "354 go\r\n", "250 ok\r\n", "221 bye\r\n"]))
    # Outgoing spool files as the preparer writes them (the SMTP tests' layout).
    def spool(messages, count=None):
        out = "Letters : %05d\r\nFROM:<%s>\r\n" % (len(messages) if count is None else count, messages[0][0] if messages else "x@y")
        for sender, to, lines, error in messages:
            out += "BEGIN MESSAGE HEADER\r\nFROM:<%s>\r\n" % sender + "".join("TO:<%s>\r\n" % t for t in to)
            out += "END MESSAGE HEADER\r\n" + ("BEGIN DATA %d" % (sum(len(l) + 2 for l in lines) + error)).ljust(23) + "\r\n"
            out += "".join(l + "\r\n" for l in lines) + "\r\nEND DATA\r\n"
        return out
    put("sessions/seeds/spool", "two-messages", spool([("me@a.example", ["x@b.example", "y@c.example"], ["Subject: t", "", ".dot", "END DATA"], 0),
                                                      ("me@a.example", ["z@d.example"], ["broken"], 3)]))
    put("sessions/seeds/popcpw", "changed", conversation(0, ["+OK poppassd ready\r\n", "+OK\r\n", "+OK\r\n",
                                                             "+OK password changed\r\n", "+OK bye\r\n"]))
    put("sessions/seeds/popcpw", "refused", conversation(0, ["+OK ready\r\n", "+OK\r\n", "-ERR old password wrong\r\n", "+OK bye\r\n"]))


if __name__ == "__main__":
    catalogue()
    settings()
    filters()
    signature()
    viewreq()
    addresses()
    sessions()
