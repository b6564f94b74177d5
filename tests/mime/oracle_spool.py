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
        # The envelope carries the bare address of each header field: the part in angle
        # brackets of "Name <address>", else the whole field.
        def bare(value):
            m = re.search(r"<([^<>]*)>\s*$", value)
            return (m.group(1) if m else value).encode()

        want = [b"FROM:<%s>" % bare(msg["From"] or "")]
        to = msg.get_all("To") or []
        want += [b"TO:<%s>" % bare(a) for a in to + (msg.get_all("Cc") or [])]
        # A message without To keeps its place without recipients (the client reports it failed).
        if envelope != want and not (not to and envelope == want[:1]):
            bad.append("message %d: envelope %r, headers give %r" % (n, envelope, want))
        for part in msg.walk():
            if part.defects:
                bad.append("message %d: defects %r" % (n, part.defects))
            if not part.is_multipart():
                part.get_payload(decode=True)
                if part.defects:
                    bad.append("message %d: payload defects %r" % (n, part.defects))
    for i, line in enumerate(spool.split(b"\n")):
        if len(line.rstrip(b"\r")) >= 1000:
            bad.append("line %d has %d characters: SMTP cannot carry it" % (i + 1, len(line)))
    if n > count:
        bad.append("%d messages, count line says %d" % (n, count))
    for b in bad:
        print(b)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
