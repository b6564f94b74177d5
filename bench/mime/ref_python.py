"""Reference for the scanner benchmark: Python's email package doing the scanner's work on
the same spool: split it into messages, undo dot-stuffing, parse, and write every attachment
(and every non-text part) decoded to a file. Prints seconds, MB/s, messages and files.
Usage: ref_python.py SPOOL OUT_FOLDER"""
import email
import os
import sys
import time


def messages(data):
    at = 0
    while True:
        b = data.find(b"BEGIN MESSAGE\r\n", at)
        if b < 0:
            return
        start = data.find(b"\r\n", b + 15) + 2  # skip the +OK line
        end = data.find(b"\r\n.\r\nEND MESSAGE\r\n", start)
        if end < 0:
            return
        raw = data[start:end + 2]
        yield raw.replace(b"\r\n..", b"\r\n.")
        at = end


def main():
    spool, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    t0 = time.perf_counter()
    data = open(spool, "rb").read()
    n = files = 0
    for raw in messages(data):
        n += 1
        msg = email.message_from_bytes(raw)
        for part in msg.walk():
            if part.is_multipart():
                continue
            name = part.get_filename()
            if name is None and part.get_content_maintype() == "text":
                part.get_payload(decode=True)  # the text is decoded as well
                continue
            files += 1
            with open(os.path.join(out, "%d-%s" % (files, os.path.basename(name or "part"))), "wb") as f:
                f.write(part.get_payload(decode=True) or b"")
    secs = time.perf_counter() - t0
    print("python-email %.3f s %.1f MB/s %d messages %d files" % (secs, len(data) / secs / 1e6, n, files))


if __name__ == "__main__":
    main()
