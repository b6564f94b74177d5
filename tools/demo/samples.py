"""Writes the demo's sample messages into a maildir's new/ folder for Dovecot to serve.

usage: samples.py MAILDIR_NEW_FOLDER

A dozen messages of the kinds a mail client meets: plain text, quoted-printable, base64
attachments, an HTML part, Cc lists, names and subjects in RFC 2047 words, an apostrophe in a
subject, a newsletter and an offer to try the incoming-mail filters on.
"""
import email.policy
import os
import struct
import sys
import time
from datetime import datetime
import zlib
from email.headerregistry import Address
from email.message import EmailMessage
from email.utils import format_datetime, make_msgid

ME = Address("You", addr_spec="you@lorvex.example")
DAY = 86400


def tiny_png(width=16, height=16):
    """A small gradient picture, made here so the demo needs no image files."""
    rows = b"".join(
        b"\x00" + b"".join(bytes((x * 16 % 256, y * 16 % 256, 160)) for x in range(width))
        for y in range(height))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows))
            + chunk(b"IEND", b""))


def message(n, sender, subject, body, *, to=(ME,), cc=(), charset=None, cte=None):
    m = EmailMessage()
    m["From"] = sender
    m["To"] = list(to)
    if cc:
        m["Cc"] = list(cc)
    m["Subject"] = subject
    m["Date"] = format_datetime(datetime.fromtimestamp(time.time() - (12 - n) * DAY / 3).astimezone())
    m["Message-ID"] = make_msgid("demo%d" % n, "lorvex.example")
    kwargs = {}
    if charset:
        kwargs["charset"] = charset
    if cte:
        kwargs["cte"] = cte
    m.set_content(body, **kwargs)
    return m


def samples():
    team = Address("Lorvex Team", addr_spec="team@lorvex.example")
    zoe = Address("Zoë Müller", addr_spec="zoe.mueller@beispiel.example")
    jose = Address("José Ñúñez", addr_spec="jose@ejemplo.example")
    kenji = Address("山田 健二", addr_spec="kenji@rei.example")
    ann = Address("Ann O'Neill", addr_spec="ann.oneill@work.example")
    news = Address("Lorvex Weekly", addr_spec="news@lists.example")
    promo = Address("Prize Desk", addr_spec="promo@offers.example")
    out = []

    out.append(message(1, team, "Welcome to Lorvex",
                       "Hello,\n\nthese messages came from the demo's own POP3 server.\n"
                       "Open one with a double click; the viewer shows it as a page.\n\n"
                       "Try Setup > Filter Manager to file the newsletter into a folder of its own\n"
                       "or to delete the prize offers before they are stored.\n\nThe Lorvex Team\n"))

    out.append(message(2, zoe, "Grüße aus München",
                       "Hallo!\n\nDie Brezn sind frisch, das Wetter ist schön, und die Straße\n"
                       "vor dem Büro heißt immer noch Maximilianstraße.\n\nViele Grüße\nZoë\n",
                       charset="utf-8", cte="quoted-printable"))

    m = message(3, jose, "Fotos del viaje",
                "Hola,\n\nte mando la foto del atardecer (adjunta, en base64).\n\nUn abrazo,\nJosé\n",
                charset="utf-8")
    m.add_attachment(tiny_png(), maintype="image", subtype="png", filename="atardecer.png")
    out.append(m)

    m = message(4, ann, "Don't forget Friday's meeting",
                "Hi,\n\nit's at 10 o'clock in Room 4. I've put the agenda in the attachment.\n\nAnn\n",
                cc=(Address("Bob Smith", addr_spec="bob@work.example"),
                    Address("Carol Jones", addr_spec="carol@work.example"),
                    Address("Dave O'Brien", addr_spec="dave.obrien@work.example")))
    m.add_attachment("1. Figures\n2. The new office\n3. Anything else\n", filename="agenda.txt")
    out.append(m)

    m = message(5, news, "[Weekly] Five things to try in Lorvex",
                "1. Filters\n2. Folders\n3. Printing\n4. Signatures\n5. The address book\n")
    m.add_alternative(
        "<html><body><h1>Five things to try</h1><ol><li><b>Filters</b> sort incoming mail</li>"
        "<li><i>Folders</i> keep it</li><li>Printing</li><li>Signatures</li>"
        "<li>The address book</li></ol><p style='color:#336'>Lorvex Weekly</p></body></html>",
        subtype="html")
    out.append(m)

    out.append(message(6, promo, "YOU HAVE WON A PRIZE!!!",
                       "Claim your prize today. (A message for a delete filter to catch.)\n"))

    out.append(message(7, kenji, "会議の資料",
                       "こんにちは。\n\n明日の会議の資料を送ります。\n\n山田\n",
                       charset="utf-8", cte="base64"))

    m = message(8, team, "Quarterly figures",
                "The figures are attached as a table and as a chart.\n",
                to=(ME, Address("Finance", addr_spec="finance@lorvex.example")),
                cc=(ann, zoe))
    m.add_attachment("Quarter;Income;Costs\nQ1;120;80\nQ2;135;90\n".encode(), maintype="text",
                     subtype="csv", filename="figures.csv", cte="base64")
    m.add_attachment(tiny_png(8, 8), maintype="image", subtype="png", filename="chart.png")
    out.append(m)

    out.append(message(9, Address("", addr_spec="noreply@service.example"),
                       "A subject that goes on and on to show how the message list copes with a "
                       "line far longer than its column",
                       "Short text, long subject.\n"))

    m = message(10, zoe, "Re: Grüße aus München",
                "> Die Brezn sind frisch\n\nUnd der Kaffee auch!\n", charset="iso-8859-1",
                cte="quoted-printable")
    m["In-Reply-To"] = out[1]["Message-ID"]
    out.append(m)

    out.append(message(11, news, "[Weekly] Keyboard shortcuts",
                       "Ctrl+N writes a new message; F1 opens the help of any window.\n"))

    out.append(message(12, promo, "Last chance: your prize is waiting",
                       "Only today! (Another one for the delete filter.)\n"))
    return out


def main():
    folder = sys.argv[1]
    # Written in the maildir's tmp/ and moved into new/, so the server never sees half a message.
    scratch = os.path.join(os.path.dirname(os.path.abspath(folder)), "tmp")
    os.makedirs(folder, exist_ok=True)
    os.makedirs(scratch, exist_ok=True)
    stamp = int(time.time())
    for n, m in enumerate(samples(), 1):
        name = "%d.M%dP%d.lorvexdemo" % (stamp, n, os.getpid())
        with open(os.path.join(scratch, name), "wb") as f:
            f.write(m.as_bytes(policy=email.policy.default))
        os.chmod(os.path.join(scratch, name), 0o644)
        os.replace(os.path.join(scratch, name), os.path.join(folder, name))
    print("%d sample messages in %s" % (n, folder))


if __name__ == "__main__":
    main()
