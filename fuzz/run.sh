#!/usr/bin/env bash
# Builds every libFuzzer target (one native clang build) and runs each for SECONDS (default 5)
# from its seeds, one after another. Each target's verdict is one case of a JUnit report.
# Usage: fuzz/run.sh [SECONDS] [BUILD_DIR] [REPORT_XML] [TARGET...]
#   SECONDS "build": only build (the report then holds the build's verdict alone).
#   TARGET: run only these (names as in the table below, without "fuzz_").
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
secs=${1:-5}
build=${2:-$root/build/fuzz}
report=${3:-$build/fuzz-report.xml}
shift $(( $# < 3 ? $# : 3 ))
only=" $* "

# name  program  seeds (relative to fuzz/)  largest input
targets=(
  "mime_scanner   mime/fuzz_mime_scanner    mime/seeds/scanner     65536"
  "mime_qp        mime/fuzz_mime_qp         mime/seeds/lines       65536"
  "mime_base64    mime/fuzz_mime_base64     mime/seeds/lines       65536"
  "mime_uudecode  mime/fuzz_mime_uudecode   mime/seeds/lines       65536"
  "mime_hdrdecode mime/fuzz_mime_hdrdecode  mime/seeds/headers     65536"
  "mergefile      merge/fuzz_mergefile      merge/seeds            4096"
  "catalog        records/fuzz_catalog      records/seeds/catalog  65536"
  "settings       records/fuzz_settings     records/seeds/settings 4096"
  "filters        records/fuzz_filters      records/seeds/filters  16384"
  "signature      records/fuzz_signature    records/seeds/signature 32768"
  "viewreq        records/fuzz_viewreq      records/seeds/viewreq  16384"
  "viewercmd      records/fuzz_viewercmd    records/seeds/viewercmd 4096"
  "viewerpage     records/fuzz_viewerpage   records/seeds/viewerpage 16384"
  "fixedrec       addrimport/fuzz_fixedrec  addrimport/seeds/fixedrec 16384"
  "alias          addrimport/fuzz_alias     addrimport/seeds/alias 8192"
  "delimited      addrimport/fuzz_delimited addrimport/seeds/delimited 8192"
  "mapi           addrimport/fuzz_mapi      addrimport/seeds/mapi  4096"
  "pop3           sessions/fuzz_pop3        sessions/seeds/pop3    8192"
  "smtp           sessions/fuzz_smtp        sessions/seeds/smtp    8192"
  "popcpw         sessions/fuzz_popcpw      sessions/seeds/popcpw  4096"
  "spool          sessions/fuzz_spool       sessions/seeds/spool   16384"
)

mkdir -p "$build"
cases=""
failed=0
xml_escape() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' -e 's/"/\&quot;/g'; }
if ! { cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
         -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$build/configure.log" 2>&1 &&
       cmake --build "$build" -j 2 >"$build/build.log" 2>&1; }; then
  tail -n 30 "$build/build.log" "$build/configure.log" 2>/dev/null
  echo "fuzz targets did not build (log: $build/build.log)"
  printf '<testsuites><testsuite name="fuzz"><testcase classname="fuzz" name="build"><failure message="the fuzz targets did not build"/></testcase></testsuite></testsuites>\n' >"$report"
  exit 1
fi
[ "$secs" = build ] && exit 0

for entry in "${targets[@]}"; do
  read -r name program seeds maxlen <<<"$entry"
  [ "$only" != "  " ] && [[ "$only" != *" $name "* ]] && continue
  corpus=$build/corpus/$name
  log=$build/fuzz-$name.log
  mkdir -p "$corpus"
  start=$(date +%s)
  "$build/$program" -max_total_time="$secs" -max_len="$maxlen" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$build/artifact-$name-" -print_final_stats=1 "$corpus" "$here/$seeds" \
    >"$log" 2>&1
  status=$?
  took=$(( $(date +%s) - start ))
  runs=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}')
  if [ $status -eq 0 ]; then
    echo "fuzz_$name: ${took}s, ${runs:-0} runs, no finding"
    cases+="<testcase classname=\"fuzz\" name=\"$name\" time=\"$took\"/>"
  else
    failed=$((failed + 1))
    why=$(grep -E 'ERROR:|property failed|runtime error' "$log" | head -n 1 | xml_escape)
    echo "fuzz_$name: FINDING after ${took}s (log: $log)"
    grep -E 'ERROR|SUMMARY|property failed|runtime error|Test unit written' "$log" | head -n 8
    cases+="<testcase classname=\"fuzz\" name=\"$name\" time=\"$took\"><failure message=\"${why:-the fuzzer found a fault}\"/></testcase>"
  fi
done
printf '<testsuites><testsuite name="fuzz">%s</testsuite></testsuites>\n' "$cases" >"$report"
[ $failed -eq 0 ]
