#!/usr/bin/env bash
# Builds the fuzz targets and runs the merge file reader's for SECONDS (default 5) from its seeds
# (fuzz/run.sh does the work).
# Usage: fuzz/merge/run.sh [SECONDS] [BUILD_DIR]
here=$(cd "$(dirname "$0")" && pwd)
exec bash "$here/../run.sh" "${1:-5}" "${2:-$here/../../build/fuzz}" "" mergefile
