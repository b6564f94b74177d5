"""Independent check of what the SMTP server stored: Python's email package (policy.default)
must show the subject, sender, recipients and text the test queued as Windows-1252 bytes.
Usage: smtp_oracle.py REPORT EXPECTATION_JSON MESSAGE_FILE...
The expectation is a list (one entry per message file) of hexadecimal Windows-1252 texts:
subject, from, to (a list) and text. REPORT receives "ok" or one mismatch per line; it is
written under another name first and renamed, so a reader never sees half of it."""
import email
import email.policy
import email.utils
import json
import os
import sys


def text(h):
    return bytes.fromhex(h).decode("cp1252")


def lines(s):
    return s.replace("\r\n", "\n").rstrip("\n")


def mailboxes(msg, field):
    return [(a.display_name, a.addr_spec) for h in msg.get_all(field) or [] for a in h.addresses]


def check(want, path):
    msg = email.message_from_bytes(open(path, "rb").read(), policy=email.policy.default)
    bad = []

    def same(what, got, exp):
        if got != exp:
            bad.append("%s %s: got %r, expected %r" % (os.path.basename(path), what, got, exp))

    same("Subject", str(msg["Subject"]), text(want["subject"]))
    same("From", mailboxes(msg, "From"), [email.utils.parseaddr(text(want["from"]))])
    same("To", mailboxes(msg, "To"), [email.utils.parseaddr(text(h)) for h in want["to"]])
    same("text", lines(msg.get_body(("plain",)).get_content()), lines(text(want["text"])))
    for part in msg.walk():
        if part.defects:
            bad.append("%s: defects %r" % (os.path.basename(path), part.defects))
    return bad


def main():
    report, wants, files = sys.argv[1], json.load(open(sys.argv[2])), sys.argv[3:]
    bad = []
    if len(wants) != len(files):
        bad.append("%d messages expected, %d stored" % (len(wants), len(files)))
    for want, path in zip(wants, files):
        bad += check(want, path)
    with open(report + ".tmp", "w") as f:
        f.write("\n".join(bad) if bad else "ok")
    os.replace(report + ".tmp", report)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
