#!/bin/sh
# Builds the picture decoders' fuzz entries with libFuzzer and the address
# and undefined-behaviour sanitizers, and runs each for a number of
# executions over a copy of the committed pictures of its format.
#
#   tests/fuzz/run_picture_libfuzzer.sh [RUNS] [ENTRY...]
#
# RUNS defaults to 1000000; the entries are bmp, gif, pcx, icon, jpeg and
# png (all of them by default).  The decoders are compiled straight from
# their sources; libjpeg and libpng are the system's, uninstrumented.
# Findings land in build-fuzz/picture_ENTRY/crashes/.
set -eu

runs=${1:-1000000}
[ $# -gt 0 ] && shift
entries=${*:-bmp gif pcx icon jpeg png}

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
pictures="$root/tests/platform/pictures"
out=${FUZZ_OUT:-"$root/build-fuzz"}
cxx=${CXX_FUZZ:-clang++}
flags="-std=c++20 -g -O1 -fno-omit-frame-pointer -fno-sanitize=vptr -fno-sanitize-recover=undefined"

mkdir -p "$out/picture_objects"
for source in "$root"/platform/picture/*.cpp; do
    object="$out/picture_objects/$(basename "$source" .cpp).o"
    "$cxx" $flags -fsanitize=fuzzer-no-link,address,undefined -I"$root" -c "$source" -o "$object"
done

suffixes() {
    case $1 in
    icon) echo ico cur ;;
    jpeg) echo jpg ;;
    *) echo "$1" ;;
    esac
}

for entry in $entries; do
    dir="$out/picture_$entry"
    mkdir -p "$dir/corpus" "$dir/crashes"
    "$cxx" $flags -fsanitize=fuzzer,address,undefined -I"$root" -I"$here" \
        "$here/picture_${entry}_fuzz.cpp" "$out"/picture_objects/*.o -ljpeg -lpng -lz \
        -o "$dir/picture_${entry}_fuzz"
    for suffix in $(suffixes "$entry"); do
        cp -n "$pictures"/*."$suffix" "$dir/corpus/" 2>/dev/null || true
    done
    echo "== $entry: $runs executions"
    "$dir/picture_${entry}_fuzz" -runs="$runs" -max_len=16384 -rss_limit_mb=2048 \
        -artifact_prefix="$dir/crashes/" "$dir/corpus"
done
