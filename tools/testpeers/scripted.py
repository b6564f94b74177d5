"""Scripted test servers for what real servers do not do, each on a loopback address of its own.

usage: scripted.py LOG_FOLDER
Every scenario appends the lines it receives to LOG_FOLDER/<address>-<port>.log.
Each step that must arrive as a chunk of its own is sent alone, followed by a pause.
"""
import asyncio
import os
import socket
import sys

PAUSE = 0.15
LOGS = "."


def stuffed(message):
    """A message as a RETR reply carries it: CR LF lines, leading full stops doubled, final dot."""
    lines = message.split(b"\r\n")
    if lines and lines[-1] == b"":
        lines = lines[:-1]
    body = b"".join((b"." + l if l.startswith(b".") else l) + b"\r\n" for l in lines)
    return body + b".\r\n"


# The messages of the POP3 scenarios (the tests expect exactly these bytes).
POP_MESSAGES = [
    b"From: a@example.org\r\nSubject: first\r\n\r\nHello.\r\n.leading dot\r\n",
    b"From: b@example.org\r\nSubject: second\r\n\r\nSecond body\r\n",
]


class Conn:
    def __init__(self, reader, writer, name):
        self.reader, self.writer, self.name = reader, writer, name
        sock = writer.get_extra_info("socket")
        if sock is not None:
            sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)

    async def send(self, data, alone=False):
        self.writer.write(data)
        await self.writer.drain()
        if alone:
            await asyncio.sleep(PAUSE)

    async def line(self):
        try:
            data = await asyncio.wait_for(self.reader.readline(), 30)
        except (asyncio.TimeoutError, ConnectionError):
            return None
        if not data:
            return None
        with open(os.path.join(LOGS, self.name + ".log"), "ab") as f:
            f.write(data)
        return data

    def close(self):
        self.writer.close()


async def smtp(c, greeting, reject=None):
    for chunk in greeting:
        await c.send(chunk, alone=True)
    while True:
        line = await c.line()
        if line is None:
            return
        verb = line[:4].upper()
        if verb == b"RCPT" and reject and reject in line:
            await c.send(b"550 5.1.1 no such user\r\n")
        elif verb == b"DATA":
            await c.send(b"354 go ahead\r\n")
            while True:
                data = await c.line()
                if data is None:
                    return
                if data == b".\r\n":
                    break
            await c.send(b"250 2.0.0 queued\r\n")
        elif verb == b"QUIT":
            await c.send(b"221 bye\r\n")
            return
        else:
            await c.send(b"250 ok\r\n")


async def pop3(c, messages, split=None, close_in=None):
    await c.send(b"+OK scripted POP3 ready\r\n")
    while True:
        line = await c.line()
        if line is None:
            return
        parts = line.split()
        verb = parts[0].upper() if parts else b""
        if verb == b"STAT":
            await c.send(b"+OK %d %d\r\n" % (len(messages), sum(len(m) for m in messages)))
        elif verb == b"UIDL":
            await c.send(b"+OK %s uid-%s\r\n" % (parts[1], parts[1]))
        elif verb == b"RETR":
            n = int(parts[1])
            reply = b"+OK %d octets\r\n" % len(messages[n - 1]) + stuffed(messages[n - 1])
            if close_in == n:
                await c.send(reply[: len(reply) // 2], alone=True)
                return
            if split is not None:
                cut = len(reply) - split
                await c.send(reply[:cut], alone=True)
                await c.send(reply[cut:])
            else:
                await c.send(reply)
        elif verb == b"QUIT":
            await c.send(b"+OK bye\r\n")
            return
        else:
            await c.send(b"+OK\r\n")


async def err_greeting(c):
    await c.send(b"-ERR server busy\r\n")
    line = await c.line()
    if line is not None:
        await c.send(b"+OK bye\r\n")


async def silent(c):
    while await c.line() is not None:
        pass


async def password_change(c, refuse_newpass):
    await c.send(b"200 password service ready\r\n")
    while True:
        line = await c.line()
        if line is None:
            return
        verb = line.split()[0].upper() if line.split() else b""
        if verb == b"NEWPASS" and refuse_newpass:
            await c.send(b"500 new password refused\r\n")
        elif verb == b"QUIT":
            await c.send(b"200 bye\r\n")
            return
        else:
            await c.send(b"200 ok\r\n")


class Counter:
    def __init__(self):
        self.n = 0

    def next(self):
        self.n += 1
        return self.n - 1


split_counter = Counter()

SCENARIOS = {
    ("127.0.0.10", 25): lambda c: smtp(c, [b"220-first line\r\n220-second line\r\n220 last line\r\n"]),
    ("127.0.0.11", 25): lambda c: smtp(c, [b"220-first line\r\n220-second line\r\n", b"220 last line\r\n"]),
    ("127.0.0.12", 25): lambda c: smtp(c, [b"220 ready\r\n"], reject=b"bad"),
    ("127.0.0.13", 110): err_greeting,
    ("127.0.0.14", 110): lambda c: pop3(c, []),
    # Connection k splits the RETR reply k+1 bytes before its end.
    ("127.0.0.15", 110): lambda c: pop3(c, POP_MESSAGES[:1], split=split_counter.next() % 8 + 1),
    ("127.0.0.16", 110): silent,
    ("127.0.0.16", 25): silent,
    ("127.0.0.17", 110): lambda c: pop3(c, POP_MESSAGES, close_in=2),
    ("127.0.0.18", 106): lambda c: password_change(c, False),
    ("127.0.0.19", 106): lambda c: password_change(c, True),
}


def serve(address, port, scenario):
    name = "%s-%d" % (address, port)

    async def handler(reader, writer):
        c = Conn(reader, writer, name)
        try:
            await scenario(c)
        except ConnectionError:
            pass
        finally:
            c.close()

    return asyncio.start_server(handler, address, port, reuse_address=True)


async def main():
    servers = [await serve(a, p, s) for (a, p), s in SCENARIOS.items()]
    print("ready", flush=True)
    await asyncio.gather(*(s.serve_forever() for s in servers))


if __name__ == "__main__":
    LOGS = sys.argv[1]
    os.makedirs(LOGS, exist_ok=True)
    asyncio.run(main())
