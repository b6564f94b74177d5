"""Writes the benchmark's incoming spool file: 1,000 messages (about 150 MB) of plain text,
quoted-printable text and base64 attachments of 2 KB to 400 KB, in the POP3 client's format
(count line, BEGIN MESSAGE, +OK line, dot-stuffed CRLF lines, terminating full stop, END MESSAGE).
Usage: gen_spool.py OUT_FILE [MESSAGES]. The content is fixed by a seed."""
import base64
import random
import sys


def words(rng, n):
    vocab = ["mail", "spool", "lorvex", "message", "attachment", "text", "line", "quoted",
             "printable", "caf\xe9", "na\xefve", "r\xe9sum\xe9", ".dot", "=equals", "end", "boundary"]
    return " ".join(rng.choice(vocab) for _ in range(n))


def text_lines(rng, size, eight_bit):
    out, total = [], 0
    while total < size:
        line = words(rng, rng.randint(4, 12))
        if not eight_bit:
            line = line.encode("ascii", "replace").decode("ascii")
        out.append(line)
        total += len(line) + 2
    return out


def qp_line(line):
    b = line.encode("latin-1")
    out = []
    for c in b:
        if (33 <= c <= 60) or (62 <= c <= 126):
            out.append(chr(c))
        else:
            out.append("=%02X" % c)
    return "".join(out)


def message(rng, i):
    kind = rng.random()
    head = [
        "Received: from relay.example by mx.example; Wed, 9 Dec 2026 10:00:00 +0000",
        "From: Sender %d <sender%d@example.com>" % (i, i),
        "To: Reader <reader@example.net>, Second Reader <second@example.net>",
        "Cc: copy%d@example.org" % i,
        "Subject: Benchmark message %d (kind)" % i,
        "Date: Wed, 9 Dec 2026 10:%02d:%02d +0000" % (i // 60 % 60, i % 60),
        "Message-ID: <bench-%d@example.com>" % i,
        "MIME-Version: 1.0",
    ]
    body = []
    if kind < 0.25:  # plain 7bit text
        head += ["Content-Type: text/plain; charset=us-ascii", "Content-Transfer-Encoding: 7bit"]
        body = text_lines(rng, rng.randint(2048, 40960), False)
    elif kind < 0.5:  # quoted-printable text
        head += ["Content-Type: text/plain; charset=iso-8859-1", "Content-Transfer-Encoding: quoted-printable"]
        body = [qp_line(l) for l in text_lines(rng, rng.randint(2048, 40960), True)]
    else:  # a text part and a base64 attachment
        b = "==bench-boundary-%d==" % i
        head.append('Content-Type: multipart/mixed; boundary="%s"' % b)
        body.append("This is a multi-part message in MIME format.")
        body += ["--" + b, "Content-Type: text/plain; charset=us-ascii", "Content-Transfer-Encoding: 7bit", ""]
        body += text_lines(rng, rng.randint(200, 2000), False)
        size = rng.randint(2048, 400 * 1024)
        data = rng.randbytes(size)
        enc = base64.b64encode(data).decode("ascii")
        body += ["--" + b, 'Content-Type: application/octet-stream; name="file%d.bin"' % i,
                 "Content-Transfer-Encoding: base64",
                 'Content-Disposition: attachment; filename="file%d.bin"' % i, ""]
        body += [enc[k:k + 76] for k in range(0, len(enc), 76)]
        body += ["--" + b + "--", ""]
    lines = head + [""] + body
    return lines


def main():
    out = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 1000
    rng = random.Random(20261209)
    with open(out, "wb") as f:
        f.write(b"Letters : %d\r\n" % count)
        for i in range(count):
            lines = message(rng, i)
            raw = "\r\n".join(lines) + "\r\n"
            f.write(b"BEGIN MESSAGE\r\n+OK %d octets\r\n" % len(raw))
            for line in lines:
                if line.startswith("."):
                    line = "." + line
                f.write(line.encode("latin-1") + b"\r\n")
            f.write(b".\r\nEND MESSAGE\r\n")


if __name__ == "__main__":
    main()
