"""The test SMTP peer: aiosmtpd storing every message it accepts as a file.

usage: smtpsink.py ADDRESS PORT FOLDER
Each accepted message becomes FOLDER/NNNNNN.eml (the data as received, after the server's
dot-unstuffing) with FOLDER/NNNNNN.env beside it (MAIL FROM, then one RCPT TO per line).
Recipients of the domain refused.invalid are refused with 550, as a server refuses a mailbox it
does not know.
"""
import asyncio
import itertools
import os
import signal
import sys

from aiosmtpd.controller import Controller


class Sink:
    def __init__(self, folder):
        self.folder = folder
        self.counter = itertools.count(1)

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.lower().endswith("@refused.invalid"):
            return "550 5.1.1 <%s>: Recipient address rejected: User unknown" % address
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        n = next(self.counter)
        base = os.path.join(self.folder, "%06d" % n)
        with open(base + ".tmp", "wb") as f:
            f.write(envelope.original_content or envelope.content)
        with open(base + ".env", "w") as f:
            f.write(envelope.mail_from + "\n")
            for r in envelope.rcpt_tos:
                f.write(r + "\n")
        os.replace(base + ".tmp", base + ".eml")
        return "250 Message accepted for delivery"


def serve(*controllers):
    """Runs the servers until SIGTERM."""
    for controller in controllers:
        controller.start()
    stop = asyncio.new_event_loop()
    signal.signal(signal.SIGTERM, lambda *_: stop.call_soon_threadsafe(stop.stop))
    print("ready", flush=True)
    stop.run_forever()
    for controller in controllers:
        controller.stop()


def main():
    address, port, folder = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    os.makedirs(folder, exist_ok=True)
    serve(Controller(Sink(folder), hostname=address, port=port, decode_data=False,
                     data_size_limit=0))


if __name__ == "__main__":
    main()
