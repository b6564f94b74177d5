#!/usr/bin/env bash
# Lays out the installation folder from a Windows build: the program, its DLLs, the two
# message catalogues, the viewer's wait page and the spell checker's lexicons. Idempotent:
# files are replaced only when they differ, nothing else in the folder (store, settings, log,
# the spell checker's user dictionary) is touched.
# usage: install.sh WIN_BUILD INSTALL_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
dest=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
mkdir -p "$dest"

put() {  # put SOURCE [NAME]
  local src=$1 name=${2:-$(basename "$1")}
  if ! cmp -s "$src" "$dest/$name"; then
    cp -f "$src" "$dest/$name"
    echo "installed $name"
  fi
}

[ -f "$build/bin/Lorvex.exe" ] || { echo "no Lorvex.exe in $build/bin: build the Windows program first" >&2; exit 1; }
put "$build/bin/Lorvex.exe"
[ -f "$build/bin/LXVIEWER.EXE" ] && put "$build/bin/LXVIEWER.EXE"

# Every DLL of the build's bin; a DLL a component left in its own folder is taken from there.
shopt -s nullglob
declare -A seen=()
for dll in "$build"/bin/*.dll; do
  put "$dll"; seen[$(basename "$dll")]=1
done
while IFS= read -r dll; do
  name=$(basename "$dll")
  [ -n "${seen[$name]:-}" ] && continue
  put "$dll"; seen[$name]=1
done < <(find "$build" -name '*.dll' -not -path '*/wineprefix/*' -not -path '*/googletest/*' \
           -not -path '*/tests/*' -not -path '*/startup-*/*' 2>/dev/null | sort)

for vsf in DGROUP.VSF LXVTEXT.VSF; do
  if [ -f "$build/bin/$vsf" ]; then put "$build/bin/$vsf"; else echo "warning: $vsf not built" >&2; fi
done
put "$root/mailer/res/WAIT.HTM" WAIT.HTM
# The spell checker's lexicons, beside SSCED32.dll, which resolves the names of its lists there.
for lexicon in ssceam.tlx ssceam2.clx sscebr.tlx sscebr2.clx correct.tlx; do
  if [ -f "$build/bin/$lexicon" ]; then put "$build/bin/$lexicon"; else echo "warning: $lexicon not built" >&2; fi
done
