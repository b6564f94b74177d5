#!/usr/bin/env python3
"""Reads back the PDFs of the printed address book and mailing list (abook_print) with pdftotext.

Every page carries its title, the footer text and "Page n of count" numbered 1..count; every
entry's name line and address are printed exactly once, in name order. Usage: abook_print_check.py OUT
"""
import re
import subprocess
import sys
from pathlib import Path

out = Path(sys.argv[1]) / "abook"
failures = []


def check(ok, text):
    if not ok:
        failures.append(text)


def pages_of(pdf):
    text = subprocess.run(["pdftotext", str(pdf), "-"], check=True,
                          capture_output=True, text=True).stdout
    pages = text.split("\f")
    if pages and not pages[-1].strip():
        pages.pop()
    return pages


def check_run(pdf_name, expected_name, title, footer, min_pages):
    pdf = out / pdf_name
    if not pdf.exists():
        failures.append(f"{pdf} is missing: abook_print did not leave it")
        return
    pages = pages_of(pdf)
    check(len(pages) >= min_pages, f"{pdf_name}: {len(pages)} pages, expected {min_pages} or more")
    for n, page in enumerate(pages, 1):
        m = re.search(r"Page (\d+) of (\d+)", page)
        check(m and int(m.group(1)) == n and int(m.group(2)) == len(pages),
              f"{pdf_name}: page {n} is numbered {m.group(0) if m else None}")
        check(title in page, f"{pdf_name}: page {n} lacks the title {title!r}")
        check(footer in page, f"{pdf_name}: page {n} lacks the footer {footer!r}")
    printed = [line.strip() for page in pages for line in page.splitlines() if line.strip()]
    expected = [line for line in (out / expected_name).read_text().split("\n") if line]
    positions = []
    for text in expected:
        holding = [i for i, line in enumerate(printed) if text in line]
        check(len(holding) == 1, f"{pdf_name}: {text!r} printed {len(holding)} times")
        if len(holding) == 1:
            positions.append(holding[0])
    check(positions == sorted(positions), f"{pdf_name}: the entries are not in name order")


check_run("abook.pdf", "abook.txt", "Address Book (70 addresses)", "Lorvex Address Book", 2)
check_run("abooklist.pdf", "abooklist.txt", "Mailing List: Printed list", "Lorvex Mailing List", 1)

if failures:
    print("\n".join(failures))
    sys.exit(1)
print("address book and mailing list PDFs: every page framed, every entry once, in order")
