#!/usr/bin/env bash
# The printer tests and runs print on: CUPS with a cups-pdf queue "LorvexPDF", made the default
# printer, writing each job as a PDF into OUT_DIR. Idempotent: starts cupsd only when it is not
# running and adds the queue only when it is missing. Wine reaches the queue through libcups.
# usage: cups.sh OUT_DIR
set -euo pipefail
out=$(realpath -m "${1:?usage: cups.sh OUT_DIR}")
queue=LorvexPDF
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

mkdir -p "$out"
chmod 1777 "$out"

# cups-pdf writes every job (also those of users it does not know) into the one folder.
conf=/etc/cups/cups-pdf.conf
want_conf() {
  grep -qx "Out $out" "$conf" && grep -qx "AnonDirName $out" "$conf" && grep -qx "Label 1" "$conf"
}
changed=0
if [ -f "$conf" ] && ! want_conf; then
  $sudo sed -i -E -e "s|^#?Out .*|Out $out|" -e "s|^#?AnonDirName .*|AnonDirName $out|" \
    -e "s|^#?Label .*|Label 1|" "$conf"
  changed=1
fi

running() { lpstat -r 2>/dev/null | grep -q "is running"; }
if ! running; then
  $sudo cupsd
  for _ in $(seq 1 100); do
    running && break
    sleep 0.1
  done
  running || { echo "cups.sh: the CUPS scheduler could not be started" >&2; exit 1; }
fi

if ! lpstat -p "$queue" >/dev/null 2>&1; then
  ppd=$(ls /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd /usr/share/ppd/cups-pdf/CUPS-PDF*.ppd 2>/dev/null | head -n 1)
  [ -n "$ppd" ] || { echo "cups.sh: cups-pdf is not installed (printer-driver-cups-pdf)" >&2; exit 1; }
  $sudo lpadmin -p "$queue" -v cups-pdf:/ -P "$ppd" -E -o PageSize=Letter
  changed=0
fi
[ "$changed" -eq 0 ] || $sudo cupsenable "$queue"
[ "$(lpstat -d 2>/dev/null | sed -n 's/^system default destination: //p')" = "$queue" ] ||
  $sudo lpadmin -d "$queue"
echo "cups.sh: default printer $queue; PDFs land in $out"
