#!/usr/bin/env bash
# Registers the build's ODBC driver system-wide under the name the program's
# connect string gives, "Microsoft Access Driver (*.mdb)", so the driver
# manager finds it wherever the program runs.  Does nothing when that name
# already points at this build's driver.
#
#   scripts/register_driver.sh <build-dir>
#
# Exits with 3, saying nothing, when registering needs a root it cannot
# have (no root, no sudo, or sudo refused): the caller can then point the
# driver manager at the build's own odbcinst.ini instead.
set -euo pipefail

build_dir=${1:?usage: register_driver.sh <build-dir>}
template="$build_dir/etc/odbcinst.ini"
name="Microsoft Access Driver (*.mdb)"
[[ -f "$template" ]] || { echo "velmora: $template is missing; build first" >&2; exit 1; }

wanted=$(sed -n 's/^Driver[[:space:]]*=[[:space:]]*//p' "$template" | head -n1)
current=$(odbcinst -q -d -n "$name" 2>/dev/null | sed -n 's/^Driver[[:space:]]*=[[:space:]]*//p' | head -n1 || true)
[[ "$current" == "$wanted" ]] && exit 0

sudo=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || exit 3
  sudo=(sudo)
fi
# A stale entry (an older build's path) goes first, so the new one is not
# merged into it.
if [[ -n "$current" ]]; then
  "${sudo[@]}" odbcinst -u -d -n "$name" >/dev/null 2>&1 || exit 3
fi
"${sudo[@]}" odbcinst -i -d -f "$template" >/dev/null 2>&1 || exit 3
echo "velmora: registered the ODBC driver \"$name\" ($wanted)"
