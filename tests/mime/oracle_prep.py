"""Independent check of an outgoing message: Python's email package parses the data section
and must find the headers, text and attachment bytes the test handed to the preparer.
Usage: oracle_prep.py MESSAGE_FILE EXPECTATION_JSON. Prints every mismatch; exit 1 on any."""
import email
import email.errors
import email.header
import email.policy
import email.utils
import json
import sys


def norm_text(b):
    return b.replace(b"\r\n", b"\n").rstrip(b"\n")


def main():
    raw = open(sys.argv[1], "rb").read()
    want = json.load(open(sys.argv[2]))
    msg = email.message_from_bytes(raw, policy=email.policy.compat32)
    # The header texts as a reader shows them: encoded words decoded, folded lines unfolded.
    shown = email.message_from_bytes(raw, policy=email.policy.default)
    bad = []

    def check(what, got, exp):
        if got != exp:
            bad.append("%s: got %r, expected %r" % (what, got, exp))

    # The test hands over Windows-1252 bytes (as hexadecimal): a reader must show the same text.
    def text(h):
        return bytes.fromhex(h).decode("cp1252")

    def mailboxes(field):
        return [(a.display_name, a.addr_spec) for h in shown.get_all(field) or [] for a in h.addresses]

    def expected(hexes):
        return [tuple(email.utils.parseaddr(text(h))) for h in hexes]

    check("From", mailboxes("From"), expected([want["from_hex"]]))
    check("To", mailboxes("To"), expected(want["to_hex"]))
    check("Cc", mailboxes("Cc"), expected(want["cc_hex"]))
    check("Subject", str(shown["Subject"]), text(want["subject_hex"]))
    for field in ("From", "To", "Cc", "Subject"):
        for h in shown.get_all(field) or []:
            if h.defects:
                bad.append("%s: defects %r" % (field, h.defects))
    check("Message-ID", msg["Message-ID"], want["message_id"])
    check("MIME-Version", msg["MIME-Version"], "1.0")
    if email.utils.parsedate_tz(msg["Date"] or "") is None:
        bad.append("Date does not parse: %r" % msg["Date"])
    check("Date", msg["Date"], want["date"])
    for part in msg.walk():
        if part.defects:
            bad.append("defects in %s: %r" % (part.get_content_type(), part.defects))
    parts = msg.get_payload() if msg.is_multipart() else [msg]
    text = parts[0]
    check("text type", text.get_content_type(), "text/plain")
    check("text charset", text.get_content_charset(), want["charset"])
    check("text", norm_text(text.get_payload(decode=True)), norm_text(bytes.fromhex(want["text_hex"])))
    files = [(p.get_filename(), p.get_payload(decode=True) or b"") for p in parts[1:]]
    check("file count", len(files), len(want["files"]))
    for (name, data), exp in zip(files, want["files"]):
        check("file name", name, exp["name"])
        if data != bytes.fromhex(exp["hex"]):
            bad.append("file %s: %d bytes differ from the %d expected" % (name, len(data), len(exp["hex"]) // 2))
    for b in bad:
        print(b)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
