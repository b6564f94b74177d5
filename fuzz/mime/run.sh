#!/usr/bin/env bash
# Builds the fuzz targets and runs the MIME scanner's and line decoders' for SECONDS (default 5)
# each from their seeds (fuzz/run.sh does the work).
# Usage: fuzz/mime/run.sh [SECONDS] [BUILD_DIR]
here=$(cd "$(dirname "$0")" && pwd)
exec bash "$here/../run.sh" "${1:-5}" "${2:-$here/../../build/fuzz}" "" \
  mime_scanner mime_qp mime_base64 mime_uudecode mime_hdrdecode
