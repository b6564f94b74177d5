#!/usr/bin/env bash
# Spell checker benchmark, natively built: our checker against Hunspell (en_US) on the same
# 32,000-character body (the GPL-3 text) and the same 1,000 real misspellings (codespell's table).
# usage: run.sh NATIVE_BUILD_DIR [ROUNDS]
set -euo pipefail
build=$(cd "$1" && pwd)
exe=$build/bench/spell/spell_bench
[ -x "$exe" ] || { echo "build spell_bench first: cmake --build $build --target spell_bench (needs libhunspell-dev)" >&2; exit 1; }
body=/usr/share/common-licenses/GPL-3
typos=$(dpkg -L codespell 2>/dev/null | grep '/codespell_lib/data/dictionary.txt$' | head -1 || true)
[ -f "$typos" ] || { echo "codespell's misspelling table is missing: install the Debian package codespell" >&2; exit 1; }
[ -f /usr/share/hunspell/en_US.dic ] || { echo "install the Debian package hunspell-en-us" >&2; exit 1; }
"$exe" "$build/bin" "$body" "$typos" "${2:-3}"
