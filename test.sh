#!/usr/bin/env bash
# Sets up Velmora (packages and build) and runs every test, headless.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
"$here/scripts/setup.sh" Release

export QT_QPA_PLATFORM=offscreen
# The toolkit wants a runtime directory; one made here goes when the tests do.
if [[ -z "${XDG_RUNTIME_DIR:-}" ]]; then
  XDG_RUNTIME_DIR=$(mktemp -d)
  export XDG_RUNTIME_DIR
  trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi
cd "${VELMORA_BUILD_DIR:-$here/build}"
ctest --output-on-failure --timeout 120 -j "$(nproc)"
