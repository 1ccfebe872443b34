#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each one
# for a bounded time, seeded from fuzz/corpus/NAME/ (never written to: new
# inputs go to build-fuzz/corpus/NAME/). A finding stops the run with a
# non-zero status and leaves the input in build-fuzz/findings/NAME/.
#   bash fuzz/run.sh [SECONDS_PER_TARGET]      (default 60)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=$root/build-fuzz

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DRACKBOOK_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

targets=()
for seeds in "$root"/fuzz/corpus/*/; do
    targets+=("$(basename "$seeds")")
done
cmake --build "$build" -j 2 --target "${targets[@]/%/_fuzz}"

for name in "${targets[@]}"; do
    echo "== fuzzing $name for $seconds s"
    mkdir -p "$build/corpus/$name" "$build/findings/$name"
    dict=()
    [[ -f $root/fuzz/$name.dict ]] && dict=(-dict="$root/fuzz/$name.dict")
    "$build/fuzz/${name}_fuzz" "$build/corpus/$name" "$root/fuzz/corpus/$name" \
        "${dict[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=8192 -print_final_stats=1 -artifact_prefix="$build/findings/$name/"
done
