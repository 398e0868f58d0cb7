#!/usr/bin/env bash
# Sets up Velmora (packages, build, the ODBC driver's registration and a
# starter catalogue when there is none) and starts it.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build_dir=${VELMORA_BUILD_DIR:-$here/build}
"$here/scripts/setup.sh" Release
# The driver is registered system-wide; without the rights to do that, the
# build's own registration serves this run.
status=0
"$here/scripts/register_driver.sh" "$build_dir" || status=$?
if ((status == 3)); then
  export ODBCSYSINI="$build_dir/etc"
  echo "velmora: cannot register the ODBC driver system-wide (no root); using $ODBCSYSINI/odbcinst.ini"
elif ((status != 0)); then
  exit "$status"
fi

# The catalogue lives beside the program; an existing one is never touched.
catalogue="$build_dir/app/CN.mdb"
if [[ ! -e "$catalogue" ]]; then
  "$build_dir/tools/catalogue_db/make_catalogue" "$catalogue"
  echo "velmora: created the starter catalogue $catalogue"
fi

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "velmora: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); start it from a desktop session." >&2
  exit 1
fi
exec "$build_dir/app/velmora" "$@"
