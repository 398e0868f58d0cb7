#!/usr/bin/env bash
# Redraws docs/screenshot.png: the main window over the starter catalogue,
# as the program draws it on the offscreen platform.  Needs a configured
# build (./run.sh or ./test.sh made one); builds what it uses.
#
#   scripts/screenshot.sh [output.png]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${VELMORA_BUILD_DIR:-$here/build}
output=${1:-$here/docs/screenshot.png}

cmake --build "$build_dir" --target velmora_screenshot velmora_access_odbc >/dev/null
export QT_QPA_PLATFORM=offscreen ODBCSYSINI="$build_dir/etc"
drawn=$(mktemp --suffix=.png)
trap 'rm -f "$drawn"' EXIT
rm -f "$drawn"
"$build_dir/tools/screenshot/velmora_screenshot" "$drawn"
if [[ ! -s "$drawn" ]]; then
  echo "velmora: no picture was drawn" >&2
  exit 1
fi
mv "$drawn" "$output"
echo "velmora: wrote $output"
