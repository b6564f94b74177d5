#!/usr/bin/env python3
"""Reads back the PDF of the message printed from the viewer (viewerprint_process) with pdftotext.

The job holds the one message: its pages are numbered 1..n, each carries the title, the first
holds every header label and value, and every line of the body is printed exactly once and
whole. Usage: viewerprint_check.py OUT_DIR
"""
import re
import subprocess
import sys
from pathlib import Path

out = Path(sys.argv[1])
pdf = out / "viewer.pdf"
if not pdf.exists():
    sys.exit(f"{pdf} is missing: viewerprint_process did not leave its PDF")
text = subprocess.run(["pdftotext", str(pdf), "-"], check=True, capture_output=True,
                      text=True).stdout
# The PostScript driver's hyphen comes back as a soft hyphen.
text = text.replace("\u00ad", "-")
pages = text.split("\f")
if pages and not pages[-1].strip():
    pages.pop()
failures = []


def check(ok, message):
    if not ok:
        failures.append(message)


header = (out / "viewer-header.txt").read_text().splitlines()
title = header[0]
numbering = [re.search(r"Page (\d+) of (\d+)", p) for p in pages]
check(len(pages) >= 2, f"{len(pages)} pages for a body of several pages")
for i, (page, m) in enumerate(zip(pages, numbering), 1):
    check(m is not None and int(m.group(1)) == i and int(m.group(2)) == len(pages),
          f"page {i} is numbered {m.group(0) if m else None}")
    check(title in page, f"page {i} lacks the title {title!r}")
first = [line.strip() for line in pages[0].splitlines()] if pages else []
for item in header[1:]:
    check(item in first, f"the first page lacks {item!r}")
printed = [line.strip() for p in pages for line in p.splitlines()]
body = (out / "viewer-body.txt").read_bytes().decode().split("\r\n")
for line in body:
    if line:
        seen = printed.count(line)
        check(seen == 1, f"body line {line!r} printed {seen} times")
if failures:
    print("\n".join(failures[:40]))
    sys.exit(f"{len(failures)} failures over {len(pages)} pages")
print(f"{len(pages)} pages: header and all {sum(1 for l in body if l)} body lines once")
