"""What Python's email package finds in one message file, for the scanner's corpus test.
Usage: corpus_oracle.py MESSAGE_FILE OUT_FOLDER. Writes subject.bin and from.bin (the last
Subject and From header as the record holds them: unfolded, From cut at its comment, encoded
words decoded by Python into Windows-1252 with "?" for what it cannot show, cut to the field's
size) and att-N.bin for every base64 attachment of a MIME message whose parts the scanner's
rules also find: a non-text, non-message part under multiparts (raw-N.bin for the others,
compared line by line). Prints the number of parts written."""
import email
import email.errors
import email.header
import email.policy
import os
import re
import sys


def field(value, size, comment):
    """The record's form of a header value: unfolded, blanks skipped, optionally cut at "(",
    encoded words decoded, in Windows-1252, cut to size - 1 bytes."""
    if value is None:
        value = ""
    if not isinstance(value, str):
        value = str(value)
    value = re.sub(r"\r?\n(?=[ \t])", "", value).split("\n")[0].rstrip("\r").lstrip(" \t")
    if comment:
        value = value.split("(")[0]
    raw_bytes = value.encode("ascii", "surrogateescape")
    try:
        value.encode("ascii")
        # The decoded pieces joined as they stand (make_header would add blanks of its own).
        decoded = "".join(p if isinstance(p, str) else p.decode(cs or "ascii")
                          for p, cs in email.header.decode_header(value))
        out = decoded.encode("cp1252", "replace")
    except (UnicodeError, LookupError, email.errors.HeaderParseError):
        out = raw_bytes  # 8-bit or undecodable: kept as it stands
    return out[:size - 1]


def main():
    data = open(sys.argv[1], "rb").read()
    out = sys.argv[2]
    msg = email.message_from_bytes(data, policy=email.policy.compat32)
    subj = msg.get_all("Subject") or [""]
    frm = msg.get_all("From") or [""]
    open(os.path.join(out, "subject.bin"), "wb").write(field(subj[-1], 256, False))
    open(os.path.join(out, "from.bin"), "wb").write(field(frm[-1], 80, True))
    n = 0
    # Nested multiparts that reuse a boundary are ambiguous: readers split them differently.
    bounds = re.findall(rb'boundary\s*=\s*"?([^";\r\n]+)', data, re.I)
    if msg.get("MIME-Version") is not None and msg.is_multipart() and len(set(bounds)) == len(bounds):
        def walk(part, depth, outer=()):
            nonlocal n
            if part.is_multipart():
                if part.get_content_maintype() != "multipart":
                    return  # message/rfc822 and the like: the scanner reads them as text
                b = part.get_boundary()
                if b in outer:
                    return  # a nested multipart reusing its parent's boundary is ambiguous
                for sub in part.get_payload():
                    walk(sub, depth + 1, outer + (b,))
                return
            if depth == 0 or part.get_content_maintype() in ("text", "message"):
                return
            # The scanner finds Content-Type among a part's first three header lines; the
            # transfer encoding may stand anywhere among them.
            keys = [k.lower() for k in part.keys()]
            ct = keys.index("content-type") if "content-type" in keys else -1
            if ct < 0 or ct >= 3:
                return
            cte = part.get("Content-Transfer-Encoding", "").strip().lower()
            if cte == "base64":
                payload = part.get_payload(decode=True)
                name = "att-%d.bin" % n
            elif cte == "quoted-printable":
                payload = part.get_payload(decode=True)  # compared line by line
                name = "raw-%d.bin" % n
            else:
                payload = part.get_payload(decode=False).encode("utf-8", "surrogateescape")
                name = "raw-%d.bin" % n
            open(os.path.join(out, name), "wb").write(payload)
            n += 1
        walk(msg, 0)
    print(n)


if __name__ == "__main__":
    main()
