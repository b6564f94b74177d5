#!/usr/bin/env bash
# Runs every test of the built trees and ends with one summary line.
# usage: test.sh NATIVE_BUILD WIN64_BUILD XVFB_STATE_DIR
set -uo pipefail
native=$1; win=$2; xstate=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
jobs=$(nproc)
rm -rf "$native/test-reports" "$win/test-reports"
# ctest keeps the failures of an earlier run when a later one passes: only this run's count.
rm -f "$native/Testing/Temporary/LastTestsFailed.log" "$win/Testing/Temporary/LastTestsFailed.log"
mkdir -p "$native/test-reports"

# The 32-bit deliverables and the fuzz targets compile while the tests run: the Wine tests mostly
# wait on Wine, and both builds are only needed for their verdicts at the end.
builds=$native/../ci-builds
mkdir -p "$builds"
(
  nice -n 10 make -C "$root" --no-print-directory BUILD="$(cd "$native/.." && pwd)" win32 >"$builds/win32.log" 2>&1
  echo $? >"$builds/win32.rc"
  nice -n 10 bash "$root/fuzz/run.sh" build "$native/../fuzz" "$builds/fuzz-build.xml" \
    >"$builds/fuzz.log" 2>&1
  echo $? >"$builds/fuzz.rc"
) &
builds_pid=$!

export ODBCSYSINI=$native/odbc ODBCINI=$native/odbc/odbc.ini
(cd "$native" && ctest -j "$jobs" --output-on-failure 2>&1 | tail -n 40)

eval "$(bash "$root/tools/setup/xvfb.sh" "$xstate")"
WINEPREFIX=$win/wineprefix bash "$root/tools/setup/winewm.sh"
(cd "$win" && ctest -j 1 --output-on-failure 2>&1 | tail -n 60)
[ -n "${LX_XVFB_PID:-}" ] && kill "$LX_XVFB_PID" 2>/dev/null
WINEPREFIX=$win/wineprefix wineserver -k 2>/dev/null

wait "$builds_pid"
if [ "$(cat "$builds/win32.rc" 2>/dev/null)" = 0 ]; then
  build_case='<testcase classname="build" name="win32"/>'
else
  tail -n 30 "$builds/win32.log"
  build_case='<testcase classname="build" name="win32"><failure message="the 32-bit build failed"/></testcase>'
fi
printf '<testsuites><testsuite name="build">%s</testsuite></testsuites>\n' "$build_case" \
  >"$native/test-reports/build.xml"

# A brief libFuzzer run of every fuzz target (2 s each, about 70 s in all); each verdict is one case
# of the fuzz report.
fuzz_log=$native/fuzz.log
if ! bash "$root/fuzz/run.sh" "${FUZZ_SECONDS:-2}" "$native/../fuzz" "$native/test-reports/fuzz.xml" \
  >"$fuzz_log" 2>&1; then
  tail -n 20 "$fuzz_log"
fi

python3 "$root/tools/ci/summary.py" "$native" "$win"
