#!/usr/bin/env bash
# Starts Velmora (offscreen) on two catalogues and prints, for each, the time
# from the start of the process to its first idle: the tree loaded, the last
# category made current and its entries listed, and the message loop asleep.
#
#   large  2,000 categories in three levels (20, 9 under each, 10 under each
#          of those), the last of them holding 100,000 entries
#   empty  no category, no entry
#
# The program reads CN.mdb beside itself, so it runs from a copy in a
# scratch directory and the catalogue of the build is never touched.  The
# first idle is seen from outside: the moment after which the process uses
# no more CPU time for half a second (the kernel counts it in 10 ms steps).
#
#   bench/startup_time.sh        (build first with ./run.sh or ./test.sh)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VELMORA_BUILD_DIR:-$here/build}
for needed in "$build/app/velmora" "$build/tools/catalogue_db/make_catalogue"; do
  [[ -x "$needed" ]] || { echo "startup_time: $needed is not built" >&2; exit 1; }
done
command -v sqlite3 >/dev/null || { echo "startup_time: the sqlite3 tool is needed" >&2; exit 1; }

work=$(mktemp -d)
pid=
cleanup() {
  [[ -n "$pid" ]] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

export QT_QPA_PLATFORM=offscreen
export ODBCSYSINI="$build/etc"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

large_catalogue() {
  "$build/tools/catalogue_db/make_catalogue" --empty "$1" >/dev/null
  sqlite3 "$1" <<'SQL'
BEGIN;
WITH RECURSIVE n(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM n WHERE k < 2000)
INSERT INTO base (父项目, 节点名称, 关联子节点, 图片索引, 选中图片索引, 数据库索引信息)
SELECT k, '分类 ' || k,
       CASE WHEN k <= 20 THEN 0 WHEN k <= 200 THEN (k - 21) / 9 + 1 ELSE (k - 201) / 10 + 21 END,
       k % 12, k % 12, '分类 ' || k
FROM n;
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000)
INSERT INTO cntext (对应节点, 字符, 描述, 详情)
SELECT '分类 2000', 'for (int i = 0; i < ' || i || '; ++i) total += values[i];', '条目 ' || i || ' 的描述', ''
FROM n;
COMMIT;
SQL
}

empty_catalogue() {
  "$build/tools/catalogue_db/make_catalogue" --empty "$1" >/dev/null
}

# CPU time of the process in clock ticks into `ticks`, read without
# starting a process of our own.
read_ticks() {
  local fields
  read -r -a fields <"/proc/$pid/stat" 2>/dev/null || return 1
  ticks=$((fields[13] + fields[14]))
}

measure() {
  local name=$1 make=$2
  local dir="$work/$name"
  mkdir "$dir"
  cp "$build/app/velmora" "$dir/"
  "$make" "$dir/CN.mdb"
  exec 9<> <(:) # something to wait on that never answers: a sleep without a process
  local start now last_change last_ticks=-1
  ticks=0
  start=${EPOCHREALTIME/./} # microseconds
  "$dir/velmora" >/dev/null 2>&1 &
  pid=$!
  last_change=$start
  while read_ticks; do
    now=${EPOCHREALTIME/./}
    if ((ticks != last_ticks)); then
      last_ticks=$ticks
      last_change=$now
    elif ((now - last_change >= 500000)); then
      break
    fi
    read -r -t 0.005 -u 9 || true
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pid=
  exec 9<&-
  awk -v us=$((last_change - start)) -v name="$name" -v t="$ticks" -v hz="$(getconf CLK_TCK)" \
    'BEGIN { printf "%-6s first idle after %.2f s (%.2f s of CPU time)\n", name, us / 1e6, t / hz }'
}

measure empty empty_catalogue
measure large large_catalogue
