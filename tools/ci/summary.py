#!/usr/bin/env python3
"""Counts the test cases in the GoogleTest XML reports of every build and prints one closing line.

usage: summary.py BUILD_DIR... ; exits 1 when a case failed or no case ran.
A test program that ctest saw fail without a failed case in its report (a crash) counts as one failure.
"""
import glob
import os
import sys
import xml.etree.ElementTree as ET

passed = failed = skipped = 0
broken = []
for build in sys.argv[1:]:
    failed_in_reports = set()
    for path in sorted(glob.glob(os.path.join(build, "test-reports", "*.xml"))):
        try:
            root = ET.parse(path).getroot()
        except ET.ParseError:
            broken.append(path)
            continue
        for case in root.iter("testcase"):
            if case.find("failure") is not None or case.find("error") is not None:
                failed += 1
                failed_in_reports.add(os.path.splitext(os.path.basename(path))[0])
                print(f"FAILED: {case.get('classname')}.{case.get('name')} ({os.path.basename(path)})")
            elif case.get("status") == "notrun" or case.find("skipped") is not None:
                skipped += 1
            else:
                passed += 1
    last = os.path.join(build, "Testing", "Temporary", "LastTestsFailed.log")
    if os.path.exists(last):
        for row in open(last, encoding="utf-8", errors="replace"):
            name = row.strip().split(":", 1)[-1]
            if name and name not in failed_in_reports:
                failed += 1
                print(f"FAILED: test program {name} ({build}) ended without a passing report")
for path in broken:
    print(f"FAILED: unreadable report {path}")
failed += len(broken)
line = f"tests: {passed} passed, {failed} failed"
if skipped:
    line += f", {skipped} skipped"
print(line)
sys.exit(1 if failed or passed == 0 else 0)
