#!/usr/bin/env bash
# Sets up Velmora (packages and build) and starts it.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
"$here/scripts/setup.sh" Release

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "velmora: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); start it from a desktop session." >&2
  exit 1
fi
exec "${VELMORA_BUILD_DIR:-$here/build}/app/velmora" "$@"
