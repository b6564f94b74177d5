"""Independent check of a whole outgoing spool file: the count line, the envelope of each
message against its headers, the data-count line against the bytes that follow, and every
data section parsed by Python's email package without defects (base64 parts decode).
Usage: oracle_spool.py SPOOL. Prints every mismatch; exit 1 on any."""
import email
import email.policy
import re
import sys


def main():
    spool = open(sys.argv[1], "rb").read()
    bad = []
    m = re.match(rb"Letters : (\d{5})\r\nFROM:<([^\r\n]*)>\r\n", spool)
    if not m:
        print("no count line and first-sender line")
        return 1
    count = int(m.group(1))
    at = m.end()
    n = 0
    while at < len(spool):
        n += 1
        if not spool.startswith(b"BEGIN MESSAGE HEADER\r\n", at):
            bad.append("message %d: no header begin line at %d" % (n, at))
            break
        end = spool.index(b"END MESSAGE HEADER\r\n", at)
        envelope = spool[at + 22:end].split(b"\r\n")[:-1]
        at = end + 20
        line = spool[at:at + 25]
        dm = re.match(rb"BEGIN DATA (\d+) *\r\n", line)
        if not dm or len(line) != 25:
            bad.append("message %d: data-count line %r" % (n, line))
            break
        start = at + 25
        stop = spool.index(b"\r\nEND DATA\r\n", start)
        data = spool[start:stop]
        if int(dm.group(1)) != len(data):
            bad.append("message %d: data count %s, data has %d bytes" % (n, dm.group(1).decode(), len(data)))
        at = stop + 12
        msg = email.message_from_bytes(data, policy=email.policy.compat32)
        want = [b"FROM:<%s>" % (msg["From"] or "").encode()]
        want += [b"TO:<%s>" % a.encode() for a in (msg.get_all("To") or []) + (msg.get_all("Cc") or [])]
        if envelope != want:
            bad.append("message %d: envelope %r, headers give %r" % (n, envelope, want))
        for part in msg.walk():
            if part.defects:
                bad.append("message %d: defects %r" % (n, part.defects))
            if not part.is_multipart():
                part.get_payload(decode=True)
                if part.defects:
                    bad.append("message %d: payload defects %r" % (n, part.defects))
    if n > count:
        bad.append("%d messages, count line says %d" % (n, count))
    for b in bad:
        print(b)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
