#!/bin/sh
# Builds the template block fuzz entry with libFuzzer and the address and
# undefined-behaviour sanitizers, and runs it for a number of seconds over
# a copy of the seed corpus.
#
#   tests/fuzz/run_libfuzzer.sh [SECONDS] [extra libFuzzer options...]
#
# The reader is compiled straight from its sources.  clang keeps string
# literals in UTF-8 (it has no -fexec-charset for GBK); the reader's error
# texts are only carried, never compared, so that does not matter here.
# Only what the entry reaches is linked: the loading of windows that
# template_block.cpp also holds is dropped with the unused sections.
set -eu

seconds=${1:-60}
[ $# -gt 0 ] && shift

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=${FUZZ_OUT:-"$root/build-fuzz"}
mkdir -p "$out/corpus" "$out/crashes"

cxx=${CXX_FUZZ:-clang++}
"$cxx" -std=c++20 -g -O1 -fno-omit-frame-pointer \
    -fsanitize=fuzzer,address,undefined -fno-sanitize=vptr -fno-sanitize-recover=undefined \
    -ffunction-sections -fdata-sections -Wl,--gc-sections -Wl,-z,start-stop-gc \
    -I"$root" -I"$here" \
    "$here/template_block_fuzz.cpp" "$root/ui/framework/template_block.cpp" \
    -o "$out/template_block_fuzz"

cp -n "$here"/corpus/* "$out/corpus/" 2>/dev/null || true
"$out/template_block_fuzz" -max_total_time="$seconds" -max_len=8192 \
    -artifact_prefix="$out/crashes/" "$@" "$out/corpus"
