#!/bin/sh
# Builds the tip markup fuzz entry with libFuzzer and the address and
# undefined-behaviour sanitizers, and runs it for a number of executions
# over a copy of the seed texts.
#
#   tests/fuzz/run_tip_markup_libfuzzer.sh [RUNS] [extra libFuzzer options...]
#
# RUNS defaults to 1000000.  The parser and the layout are compiled
# straight from their sources; they need nothing of the platform but its
# value types.  Findings land in build-fuzz/tip_markup/crashes/.
set -eu

runs=${1:-1000000}
[ $# -gt 0 ] && shift

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=${FUZZ_OUT:-"$root/build-fuzz"}/tip_markup
mkdir -p "$out/corpus" "$out/crashes"

cxx=${CXX_FUZZ:-clang++}
"$cxx" -std=c++20 -g -O1 -fno-omit-frame-pointer \
    -fsanitize=fuzzer,address,undefined -fno-sanitize=vptr -fno-sanitize-recover=undefined \
    -I"$root" \
    "$here/tip_markup_fuzz.cpp" "$root/ui/ext/tip_markup.cpp" "$root/ui/ext/tip_layout.cpp" \
    -o "$out/tip_markup_fuzz"

cp -n "$here"/tip_corpus/* "$out/corpus/" 2>/dev/null || true
"$out/tip_markup_fuzz" -runs="$runs" -max_len=4096 \
    -artifact_prefix="$out/crashes/" "$@" "$out/corpus"
