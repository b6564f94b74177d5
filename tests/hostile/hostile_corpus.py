#!/usr/bin/env python3
"""Writes the hostile messages into a maildir (one file each, LF line ends, as Dovecot keeps
them): what a careless or malicious sender can put into a message to make a mail client write
outside its attachment folder, open a device, run out of memory or stop answering.

usage: hostile_corpus.py MAILDIR      (MAILDIR/new receives the files; MAILDIR/corpus.txt lists
                                      them, one "name<TAB>what it tests" line each)
"""
import base64
import os
import sys

HEAD = (b"From: Hostile Sender <hostile@attack.example>\n"
        b"To: Victim <victim@lorvex.example>\n"
        b"Date: Thu, 10 Dec 2026 10:00:00 +0000\n")


def message(tag, headers=b"", body=b"", subject=None):
    subject = subject if subject is not None else b"hostile " + tag.encode()
    return (HEAD + b"Message-ID: <" + tag.encode() + b"@attack.example>\n" +
            b"Subject: " + subject + b"\n" + headers + b"\n" + body)


def multipart(tag, parts, boundary=b"hostile-boundary", close=True):
    body = b"Preamble of " + tag.encode() + b".\n"
    for part_headers, part_body in parts:
        body += b"--" + boundary + b"\n" + part_headers + b"\n" + part_body + b"\n"
    if close:
        body += b"--" + boundary + b"--\n"
    return message(tag, b"MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=\"" +
                   boundary + b"\"\n", body)


def attachment(name, data=b"hostile bytes\n", disposition=False):
    encoded = base64.encodebytes(data)
    if disposition:
        headers = (b"Content-Type: application/octet-stream\n"
                   b"Content-Transfer-Encoding: base64\n"
                   b"Content-Disposition: attachment; filename=\"" + name + b"\"\n")
    else:
        headers = (b"Content-Type: application/octet-stream; name=\"" + name + b"\"\n"
                   b"Content-Transfer-Encoding: base64\n")
    return headers, encoded.rstrip(b"\n")


# Names a file system must never receive as they stand: folders, drives, parent folders.
TRAVERSAL = [b"../../hostile-escape-1.txt", b"..\\..\\hostile-escape-2.txt",
             b"/tmp/hostile-escape-3.txt", b"C:\\hostile-escape-4.txt",
             b"C:hostile-escape-5.txt", b"sub/dir/hostile-escape-6.txt",
             b"\\\\server\\share\\hostile-escape-7.txt", b"..", b".", b"...",
             b"Z:\\tmp\\hostile-escape-8.txt"]
# Device names, bare and with extensions, in any case.
DEVICES = [b"CON", b"NUL", b"COM1", b"LPT1", b"con.txt", b"nul.tar.gz", b"COM1.log",
           b"lpt1.doc", b"AUX", b"PRN.pdf", b"CON .txt", b"conin$", b"CONOUT$.txt", b"com9"]
# Control characters and NUL bytes in names.
CONTROL = [b"bell\x07name.txt", b"tab\tand\rcr.txt", b"esc\x1b[31mred.txt", b"del\x7f.txt",
           b"nul\x00hidden.exe.txt", b"\x00", b"\x01\x02\x03", b"  ", b"trailing dots..."]


def corpus():
    yield "long-header-line", "a Subject header line of 1 MB", message(
        "long-header-line", subject=b"A" * (1 << 20))
    yield "long-body-line", "a body line of 1 MB in a plain message", message(
        "long-body-line", body=b"B" * (1 << 20) + b"\nafter the long line\n")
    many = [attachment(b"part-%05d.bin" % i, b"x") for i in range(10000)]
    yield "ten-thousand-attachments", "10,000 attached files", multipart(
        "ten-thousand-attachments", many)
    yield "path-separators", "attachment names with folders, drives and parent folders", \
        multipart("path-separators", [attachment(n) for n in TRAVERSAL] +
                  [attachment(n, disposition=True) for n in TRAVERSAL[:4]])
    yield "device-names", "attachment names that are devices", multipart(
        "device-names", [attachment(n) for n in DEVICES])
    yield "control-characters", "control characters and NUL bytes in names and text", \
        multipart("control-characters", [attachment(n) for n in CONTROL] +
                  [(b"Content-Type: text/plain\n", b"text with \x00 NUL \x00 bytes\x01\x02")])
    yield "uuencoded-names", "uuencoded files with hostile names", message(
        "uuencoded-names", body=b"".join(
            b"begin 644 " + n + b"\n#86)C\n`\nend\n" for n in
            [b"../../hostile-escape-uu.txt", b"CON", b"C:\\hostile-escape-uu2.txt", b""]))
    yield "bad-base64", "attachments whose base64 is broken", multipart("bad-base64", [
        (b"Content-Type: application/octet-stream; name=\"bad1.bin\"\n"
         b"Content-Transfer-Encoding: base64\n", b"!!!!****\n@@@@\nQUJD\n===="),
        (b"Content-Type: application/octet-stream; name=\"bad2.bin\"\n"
         b"Content-Transfer-Encoding: base64\n", b"QUJ\nQ\nQUJDRA=\n" + b"A" * 5000),
        (b"Content-Type: text/plain\nContent-Transfer-Encoding: base64\n", b"%%%not base64%%%")])
    yield "bad-quoted-printable", "broken quoted-printable text and attachment", multipart(
        "bad-quoted-printable", [
            (b"Content-Type: text/plain\nContent-Transfer-Encoding: quoted-printable\n",
             b"=ZZ=G=\n=\n=0\n" + b"=" * 3000 + b"\nsoft=\n" * 2000 + b"end"),
            (b"Content-Type: application/octet-stream; name=\"bad.qp\"\n"
             b"Content-Transfer-Encoding: quoted-printable\n", b"=\n=X=Y==\n" * 100)])
    yield "bad-encoded-words", "broken RFC 2047 words in the headers", message(
        "bad-encoded-words",
        b"Cc: =?utf-8?B?!!!?= <cc@attack.example>, =?x-unknown?Q?a=ZZ?= <c2@attack.example>\n",
        b"body\n",
        subject=b"=?utf-8?B?QUJD?= =?utf-8?Q?unterminated =?utf-8?B?" + b"Q" * 3000 +
        b"?= =?" + b"?" * 500 + b"=?utf-16?B?AAAA?=")
    yield "unterminated-boundaries", "multiparts whose boundaries never close", message(
        "unterminated-boundaries",
        b"MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=\"outer\"\n",
        b"--outer\nContent-Type: multipart/alternative; boundary=\"inner\"\n\n"
        b"--inner\nContent-Type: text/plain\n\ninner text, never closed\n"
        b"--outer\nContent-Type: application/octet-stream; name=\"open.bin\"\n"
        b"Content-Transfer-Encoding: base64\n\nQUJD\nREVG\n")
    depth = 200
    nested = b""
    for level in range(depth):
        nested += (b"--b%d\nContent-Type: multipart/mixed; boundary=\"b%d\"\n\n" %
                   (level, level + 1))
    nested += b"--b%d\nContent-Type: text/plain\n\ninnermost text\n" % depth
    for level in range(depth, -1, -1):
        nested += b"--b%d--\n" % level
    yield "nested-200", "multiparts nested 200 deep", message(
        "nested-200", b"MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=\"b0\"\n",
        nested)
    yield "no-blank-line", "headers not followed by an empty line", (
        HEAD + b"Message-ID: <no-blank-line@attack.example>\nSubject: hostile no-blank-line\n"
        b"MIME-Version: 1.0\nContent-Type: multipart/mixed; boundary=\"x\"")
    yield "many-headers", "100,000 header lines and 10,000 recipients", message(
        "many-headers",
        b"".join(b"X-Filler-%d: v\n" % i for i in range(100000)) +
        b"To: " + b", ".join(b"r%d@lorvex.example" % i for i in range(10000)) + b"\n",
        b"body\n")
    yield "plain-after", "a plain message after the hostile ones", message(
        "plain-after", body=b"An ordinary message: the run goes on to the end.\n")


def main():
    maildir = sys.argv[1]
    new = os.path.join(maildir, "new")
    os.makedirs(new, exist_ok=True)
    for sub in ("new", "cur"):
        folder = os.path.join(maildir, sub)
        if os.path.isdir(folder):
            for name in os.listdir(folder):
                os.remove(os.path.join(folder, name))
    listing = []
    for i, (tag, what, data) in enumerate(corpus()):
        name = "%d.M%dP1.hostile-%s" % (1700000000 + i, i, tag)
        with open(os.path.join(new, name), "wb") as f:
            f.write(data)
        os.chmod(os.path.join(new, name), 0o666)
        listing.append("%s\t%s\n" % (tag, what))
    with open(os.path.join(maildir, "corpus.txt"), "w") as f:
        f.writelines(listing)


if __name__ == "__main__":
    main()
