"""The test SMTP peer: aiosmtpd storing every message it accepts as a file.

usage: smtpsink.py ADDRESS PORT FOLDER
Each accepted message becomes FOLDER/NNNNNN.eml (the data as received, after the server's
dot-unstuffing) with FOLDER/NNNNNN.env beside it (MAIL FROM, then one RCPT TO per line).
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


def main():
    address, port, folder = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    os.makedirs(folder, exist_ok=True)
    controller = Controller(Sink(folder), hostname=address, port=port, decode_data=False,
                            data_size_limit=0)
    controller.start()
    stop = asyncio.new_event_loop()
    signal.signal(signal.SIGTERM, lambda *_: stop.call_soon_threadsafe(stop.stop))
    print("ready", flush=True)
    stop.run_forever()
    controller.stop()


if __name__ == "__main__":
    main()
