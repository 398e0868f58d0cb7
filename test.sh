#!/usr/bin/env bash
# Sets up Velmora (packages and build) and runs every test, headless.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
"$here/scripts/setup.sh" Release

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
cd "${VELMORA_BUILD_DIR:-$here/build}"
ctest --output-on-failure --timeout 120 -j "$(nproc)"
