"""The Python reference of the network benchmark, and the workload it shares with TERN32.

usage: reference.py fill MAILDIR COUNT SIZE      put COUNT messages of about SIZE bytes in MAILDIR/new
       reference.py spool FILE COUNT SIZE        write an outgoing spool file of COUNT such messages
       reference.py pop3 SERVER USER PASSWORD OUT retrieve every message (APOP, UIDL, RETR) into OUT
       reference.py smtp SERVER FILE             send every message of the spool over one session
       reference.py pop3s SERVER USER PASSWORD OUT CA   as pop3, over TLS from the first byte (995)
       reference.py smtps SERVER FILE USER PASSWORD CA  as smtp, on 587 with STARTTLS and AUTH
The secured commands check the server's certificate against the authority in the file CA (not its
name: the test servers' certificate is made out for localhost), and send without waiting to
gather small writes (TCP_NODELAY, as TERN32 does): a message goes out as two TLS records, and the
second would otherwise wait for the server's delayed acknowledgement of the first, some 40 ms a
message. The pop3 and smtp commands print "<seconds> <messages>".
"""
import os
import poplib
import smtplib
import socket
import ssl
import sys
import time


def body_lines(i, size):
    line = "The quick brown fox jumps over the lazy dog %05d ." % i
    lines = []
    total = 0
    n = 0
    while total < size:
        text = line if n % 17 else "." + line  # some lines need dot-stuffing
        lines.append(text)
        total += len(text) + 2
        n += 1
    return lines


def message_lines(i, size):
    head = ["From: sender@example.org", "To: rcpt@example.org", "Subject: benchmark %d" % i,
            "Message-ID: <bench-%d@example.org>", ""]
    return head + body_lines(i, size)


def fill(maildir, count, size):
    new = os.path.join(maildir, "new")
    for name in os.listdir(new):
        os.remove(os.path.join(new, name))
    for sub in ("cur",):
        for name in os.listdir(os.path.join(maildir, sub)):
            os.remove(os.path.join(maildir, sub, name))
    stamp = int(time.time())
    for i in range(count):
        with open(os.path.join(new, "%d.B%06dP1.bench" % (stamp, i)), "w") as f:
            f.write("\n".join(message_lines(i, size)) + "\n")


def spool(path, count, size):
    with open(path, "wb") as f:
        f.write(b"Letters : %05d\r\nFROM:<sender@example.org>\r\n" % count)
        for i in range(count):
            lines = [l.encode() for l in message_lines(i, size)]
            total = sum(len(l) + 2 for l in lines)
            f.write(b"BEGIN MESSAGE HEADER\r\nFROM:<sender@example.org>\r\nTO:<rcpt@example.org>\r\n"
                    b"END MESSAGE HEADER\r\n")
            f.write(("BEGIN DATA %d" % total).ljust(23).encode() + b"\r\n")
            f.write(b"".join(l + b"\r\n" for l in lines))
            f.write(b"\r\nEND DATA\r\n")


def authority(ca):
    context = ssl.create_default_context(cafile=ca)
    context.check_hostname = False
    return context


def no_delay(sock):
    sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)


def pop3(server, user, password, out, ca=None):
    t0 = time.perf_counter()
    p = poplib.POP3_SSL(server, 995, context=authority(ca)) if ca else poplib.POP3(server, 110)
    if ca:
        no_delay(p.sock)
    p.apop(user, password)
    count = p.stat()[0]
    with open(out, "wb") as f:
        f.write(b"Letters : %d\r\n" % count)
        for n in range(1, count + 1):
            p.uidl(n)
            resp, lines, _ = p.retr(n)
            f.write(b"BEGIN MESSAGE\r\n" + resp + b"\r\n" + b"\r\n".join(lines) + b"\r\n.\r\nEND MESSAGE\r\n")
    p.quit()
    print("%.3f %d" % (time.perf_counter() - t0, count))


def smtp(server, path, user=None, password=None, ca=None):
    # The same messages the spool file holds, read back from it.
    msgs = []
    with open(path, "rb") as f:
        data = f.read().split(b"\r\n")
    i = 0
    while i < len(data):
        if data[i].startswith(b"BEGIN DATA"):
            j = data.index(b"END DATA", i)
            msgs.append(b"\r\n".join(data[i + 1:j]))
            i = j
        i += 1
    t0 = time.perf_counter()
    if ca:
        s = smtplib.SMTP(server, 587)
        no_delay(s.sock)
        s.starttls(context=authority(ca))
        s.ehlo("sender")
        s.login(user, password)
    else:
        s = smtplib.SMTP(server, 25)
        s.helo("sender")
    for m in msgs:
        s.sendmail("sender@example.org", ["rcpt@example.org"], m)
    s.quit()
    print("%.3f %d" % (time.perf_counter() - t0, len(msgs)))


if __name__ == "__main__":
    cmd = sys.argv[1]
    if cmd == "fill":
        fill(sys.argv[2], int(sys.argv[3]), int(sys.argv[4]))
    elif cmd == "spool":
        spool(sys.argv[2], int(sys.argv[3]), int(sys.argv[4]))
    elif cmd == "pop3":
        pop3(*sys.argv[2:6])
    elif cmd == "smtp":
        smtp(sys.argv[2], sys.argv[3])
    elif cmd == "pop3s":
        pop3(*sys.argv[2:7])
    elif cmd == "smtps":
        smtp(*sys.argv[2:7])
