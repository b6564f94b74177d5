"""Fault servers for the mail-is-never-lost tests, on loopback addresses of their own.

usage: faultpeer.py STATE_DIR [POP3_UPSTREAM]

127.0.0.50:110  a POP3 proxy in front of the real server (POP3_UPSTREAM, default 127.0.0.2:110).
                At every new connection it reads STATE_DIR/pop3-fault (one line, see Fault) and
                does to the server's reply to RETR of one message what the line says: cut the
                connection at a byte offset, or fall silent there; or it never greets at all.
                Everything else passes through unchanged. A missing or empty file: pass.
127.0.0.51:25   an SMTP server that takes the first message of a connection (250) and closes the
                connection without a word once the second message's data has arrived. Each
                message's data goes to STATE_DIR/smtp-NNN.eml (NNN counting from 1).
"""
import asyncio
import os
import socket
import sys

STATE = "."
UPSTREAM = ("127.0.0.2", 110)


class Fault:
    """One line "ACTION [MESSAGE OFFSET]":
    pass             forward everything;
    nogreet          accept, then say nothing;
    cut N K          forward RETR N's reply up to byte K, then close both connections;
    stall N K        forward RETR N's reply up to byte K, then say nothing more.
    K counts from the start of the reply (its "+OK" line); a negative K counts back from its end,
    a K of the reply's length or more forwards the whole reply first, and a K with a full stop
    in it is that fraction of the reply's length."""

    def __init__(self, text):
        words = text.split()
        self.action = words[0] if words else "pass"
        self.message = int(words[1]) if len(words) > 1 else 0
        self.offset = words[2] if len(words) > 2 else "0"

    def position(self, length):
        if "." in self.offset:
            k = int(length * float(self.offset))
        else:
            k = int(self.offset)
            if k < 0:
                k += length
        return max(0, min(k, length))


def read_fault():
    try:
        with open(os.path.join(STATE, "pop3-fault")) as f:
            return Fault(f.read())
    except OSError:
        return Fault("")


def nodelay(writer):
    sock = writer.get_extra_info("socket")
    if sock is not None:
        sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)


async def until_closed(reader):
    """Says nothing, reads whatever comes, until the other side goes."""
    try:
        while await reader.read(4096):
            pass
    except ConnectionError:
        pass


async def retr_reply(up_reader):
    """The server's whole reply to one RETR: its status line and, after +OK, up to the line
    holding a single full stop."""
    reply = await up_reader.readline()
    if not reply.startswith(b"+OK"):
        return reply
    while not reply.endswith(b"\r\n.\r\n"):
        line = await up_reader.readline()
        if not line:
            break
        reply += line
    return reply


async def pop3_proxy(client_reader, client_writer):
    fault = read_fault()
    nodelay(client_writer)
    if fault.action == "nogreet":
        await until_closed(client_reader)
        return
    up_reader, up_writer = await asyncio.open_connection(*UPSTREAM)
    try:
        client_writer.write(await up_reader.readline())  # the greeting
        await client_writer.drain()
        while True:
            command = await client_reader.readline()
            if not command:
                return
            up_writer.write(command)
            await up_writer.drain()
            words = command.split()
            verb = words[0].upper() if words else b""
            if verb == b"RETR":
                reply = await retr_reply(up_reader)
                hit = fault.action in ("cut", "stall") and int(words[1]) == fault.message
                if not hit:
                    client_writer.write(reply)
                    await client_writer.drain()
                    continue
                client_writer.write(reply[: fault.position(len(reply))])
                await client_writer.drain()
                if fault.action == "stall":
                    await until_closed(client_reader)
                return
            reply = await up_reader.readline()
            if verb in (b"LIST", b"UIDL", b"CAPA") and len(words) == 1 and reply.startswith(b"+OK"):
                while not reply.endswith(b"\r\n.\r\n"):
                    more = await up_reader.readline()
                    if not more:
                        break
                    reply += more
            client_writer.write(reply)
            await client_writer.drain()
            if verb == b"QUIT":
                return
    finally:
        # Dropping the upstream connection without QUIT: the server keeps every message.
        up_writer.close()


def next_eml():
    n = 1
    while os.path.exists(os.path.join(STATE, "smtp-%03d.eml" % n)):
        n += 1
    return os.path.join(STATE, "smtp-%03d.eml" % n)


async def smtp_drop_second(reader, writer):
    nodelay(writer)
    writer.write(b"220 fault server ready\r\n")
    await writer.drain()
    messages = 0
    while True:
        line = await reader.readline()
        if not line:
            return
        verb = line[:4].upper()
        if verb == b"DATA":
            writer.write(b"354 go ahead\r\n")
            await writer.drain()
            data = b""
            while True:
                part = await reader.readline()
                if not part:
                    return
                if part == b".\r\n":
                    break
                data += part
            messages += 1
            with open(next_eml(), "wb") as f:
                f.write(data)
            if messages == 2:
                return  # the data has arrived; no reply, the connection just ends
            writer.write(b"250 2.0.0 queued\r\n")
        elif verb == b"QUIT":
            writer.write(b"221 bye\r\n")
            await writer.drain()
            return
        else:
            writer.write(b"250 ok\r\n")
        await writer.drain()


def serve(handler, address, port):
    async def guarded(reader, writer):
        try:
            await handler(reader, writer)
        except (ConnectionError, OSError):
            pass
        finally:
            writer.close()

    return asyncio.start_server(guarded, address, port, reuse_address=True)


async def main():
    servers = [
        await serve(pop3_proxy, "127.0.0.50", 110),
        await serve(smtp_drop_second, "127.0.0.51", 25),
    ]
    print("ready", flush=True)
    await asyncio.gather(*(s.serve_forever() for s in servers))


if __name__ == "__main__":
    STATE = sys.argv[1]
    if len(sys.argv) > 2:
        host, _, port = sys.argv[2].partition(":")
        UPSTREAM = (host, int(port or 110))
    os.makedirs(STATE, exist_ok=True)
    asyncio.run(main())
