#!/usr/bin/env python3
"""Reads back the PDF of the three printed messages (print_messages) with pdftotext.

One job holds the three messages; each starts on a new page showing "Page 1 of n" and numbers
its pages 1..n; every line of each body is printed exactly once and whole (a word cut at a page
end would split a line); the outgoing message shows the placeholder for its id and date sent
and its first recipient in its title. Usage: msgprint_check.py OUT_DIR
"""
import re
import subprocess
import sys
from pathlib import Path

out = Path(sys.argv[1])
pdf = out / "messages.pdf"
failures = []


def check(ok, text):
    if not ok:
        failures.append(text)


if not pdf.exists():
    sys.exit(f"{pdf} is missing: print_messages did not leave its PDF")
text = subprocess.run(["pdftotext", str(pdf), "-"], check=True, capture_output=True,
                      text=True).stdout
pages = text.split("\f")
if pages and not pages[-1].strip():
    pages.pop()

numbering = [re.search(r"Page (\d+) of (\d+)", p) for p in pages]
check(all(numbering), "a page without its page text")
starts = [i for i, m in enumerate(numbering) if m and m.group(1) == "1"]
check(len(starts) == 3, f"{len(starts)} pages show page 1, expected 3 (one per message)")

titles = ["Message from ann@example.org", "Message to bob@example.net",
          "Message from dan@example.org"]
bodies = [out / "m1.txt", out / "m2.txt", out / "m3.txt"]
for k, start in enumerate(starts[:3]):
    end = starts[k + 1] if k + 1 < len(starts) else len(pages)
    count = int(numbering[start].group(2))
    check(end - start == count, f"message {k + 1}: {end - start} pages, its pages say {count}")
    for j in range(start, end):
        m = numbering[j]
        check(m and int(m.group(1)) == j - start + 1 and int(m.group(2)) == count,
              f"message {k + 1}: page {j + 1} is numbered {m.group(0) if m else None}")
        check(titles[k] in pages[j], f"message {k + 1}: page {j + 1} lacks its title")
    printed = [line.strip() for p in pages[start:end] for line in p.splitlines()]
    for line in bodies[k].read_bytes().decode().split("\r\n"):
        if not line:
            continue
        seen = printed.count(line)
        check(seen == 1, f"message {k + 1}: line {line!r} printed {seen} times")
    first = pages[start]
    if k == 1:
        check(first.count("(not applicable)") == 2,
              "the outgoing message lacks the placeholder for its id and date sent")
    else:
        check(f"<{['first', 'second', 'third'][k]}@example.org>" in first,
              f"message {k + 1}: its message id is missing")

third = bodies[2].read_bytes().decode()
check(len(third) >= 40000, "the long body is shorter than 40,000 characters")
if failures:
    print("\n".join(failures[:40]))
    sys.exit(f"{len(failures)} failures over {len(pages)} pages")
print(f"{len(pages)} pages: three messages, every body line once; long body {len(third)} bytes")
