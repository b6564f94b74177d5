#!/usr/bin/env python3
"""Shows message pages in headless Chromium and checks the resulting document: no script
element, no event attribute, no script URL, and nothing a script of the message would have done.
Usage: domcheck.py CHROMIUM PAGE..."""
import subprocess
import sys
from html.parser import HTMLParser

ACTIVE_TAGS = {"script", "iframe", "object", "embed", "applet", "frame", "frameset", "svg"}
URL_ATTRS = {"href", "src", "action", "background", "data", "formaction"}


class Checker(HTMLParser):
    def __init__(self):
        super().__init__()
        self.faults = []

    def handle_starttag(self, tag, attrs):
        if tag in ACTIVE_TAGS:
            self.faults.append(f"<{tag}> element")
        for name, value in attrs:
            if name.startswith("on"):
                self.faults.append(f"event attribute {name} on <{tag}>")
            if name in URL_ATTRS and value and "".join(value.split()).lower().startswith(
                    ("javascript:", "vbscript:", "data:")):
                self.faults.append(f"script URL in {name} of <{tag}>")


def main():
    chromium, pages = sys.argv[1], sys.argv[2:]
    failed = False
    for page in pages:
        dom = subprocess.run([chromium, "--headless", "--no-sandbox", "--disable-gpu",
                              "--virtual-time-budget=2000", "--dump-dom", "file://" + page],
                             capture_output=True, text=True, timeout=120).stdout
        checker = Checker()
        checker.feed(dom)
        if not dom.strip():
            checker.faults.append("no document")
        if "owned" in dom:
            checker.faults.append("a script of the message ran")
        for fault in checker.faults:
            print(f"{page}: {fault}")
        failed = failed or bool(checker.faults)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
