"""The Python reference of the mail merge benchmark, and the workload it shares with Lorvex.

usage: reference.py make FOLDER COUNT BODY_BYTES ATTACHMENT_BYTES
           writes FOLDER/merge.mmf (COUNT addresses), FOLDER/letter.txt and FOLDER/report.bin
       reference.py send SERVER FOLDER SENDER SUBJECT
           builds one MIME message per address of merge.mmf (the letter as text, report.bin
           attached) and sends them all over one smtplib connection; prints "<seconds> <sent>"
       reference.py check SINK_FOLDER FOLDER
           checks one received message against the workload; prints "ok" or what differs
"""
import email
import email.policy
import os
import random
import smtplib
import sys
import time
from email.mime.application import MIMEApplication
from email.mime.multipart import MIMEMultipart
from email.mime.text import MIMEText


def make(folder, count, body_bytes, attachment_bytes):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "merge.mmf"), "wb") as f:
        f.write(b"".join(b"reader%05d@example.org\r\n" % i for i in range(count)))
    lines, total, n = [], 0, 0
    while total < body_bytes:
        line = "Line %05d of the quarterly letter that every reader receives alike." % n
        if n % 23 == 0:
            line = "." + line  # some lines need dot-stuffing
        lines.append(line)
        total += len(line) + 2
        n += 1
    with open(os.path.join(folder, "letter.txt"), "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("ascii")[:body_bytes])
    rnd = random.Random(1234)
    with open(os.path.join(folder, "report.bin"), "wb") as f:
        f.write(bytes(rnd.getrandbits(8) for _ in range(attachment_bytes)))


def read(folder):
    with open(os.path.join(folder, "merge.mmf"), "rb") as f:
        addresses = [l.decode() for l in f.read().split(b"\r\n") if l]
    with open(os.path.join(folder, "letter.txt"), "rb") as f:
        letter = f.read()
    with open(os.path.join(folder, "report.bin"), "rb") as f:
        report = f.read()
    return addresses, letter, report


def send(server, folder, sender, subject):
    t0 = time.perf_counter()
    addresses, letter, report = read(folder)
    sent = 0
    with smtplib.SMTP(server, 25) as s:
        for a in addresses:
            m = MIMEMultipart()
            m["From"] = sender
            m["To"] = a
            m["Subject"] = subject
            m.attach(MIMEText(letter.decode("ascii"), "plain", "us-ascii"))
            part = MIMEApplication(report, Name="report.bin")
            part["Content-Disposition"] = 'attachment; filename="report.bin"'
            m.attach(part)
            s.send_message(m, sender, [a])
            sent += 1
    print("%.3f %d" % (time.perf_counter() - t0, sent))


def check(sink, folder):
    addresses, letter, report = read(folder)
    names = sorted(n for n in os.listdir(sink) if n.endswith(".eml"))
    if len(names) != len(addresses):
        print("%d messages received for %d addresses" % (len(names), len(addresses)))
        return
    seen = set()
    for name in (names[0], names[len(names) // 2], names[-1]):
        with open(os.path.join(sink, name), "rb") as f:
            msg = email.message_from_bytes(f.read(), policy=email.policy.default)
        with open(os.path.join(sink, name[:-4] + ".env")) as f:
            rcpt = f.read().split("\n")[1:-1]
        if rcpt != [str(msg["To"])]:
            print("%s: envelope %s, To %s" % (name, rcpt, msg["To"]))
            return
        seen.add(rcpt[0])
        parts = list(msg.iter_parts())
        text = parts[0].get_payload(decode=True)
        if text.rstrip(b"\r\n") != letter.rstrip(b"\r\n"):
            print("%s: the text differs" % name)
            return
        if parts[1].get_payload(decode=True) != report:
            print("%s: the attachment differs" % name)
            return
    print("ok" if seen <= set(addresses) else "unknown recipients %s" % (seen - set(addresses)))


if __name__ == "__main__":
    cmd = sys.argv[1]
    if cmd == "make":
        make(sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5]))
    elif cmd == "send":
        send(sys.argv[2], sys.argv[3], sys.argv[4], sys.argv[5])
    elif cmd == "check":
        check(sys.argv[2], sys.argv[3])
