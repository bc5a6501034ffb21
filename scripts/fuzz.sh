#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UBSan) and runs each of them
# for SECONDS seconds (default 60) on its committed seed corpus. New inputs go to a scratch
# corpus, never into the repository; a crash leaves its input in build/fuzz/crashes/.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

bash scripts/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

mkdir -p build/fuzz/crashes
status=0
for target in Profile Names IpList Replies Upload Decoder Vocabulary; do
    seeds=fuzz/corpus/$(echo "$target" | tr '[:upper:]' '[:lower:]')
    scratch=build/fuzz/corpus-$target
    mkdir -p "$scratch"
    echo "fuzz_$target: ${seconds}s"
    if ! build/fuzz/fuzz/fuzz_$target "$scratch" "$seeds" -max_total_time="$seconds" \
        -max_len=4096 -timeout=10 -rss_limit_mb=2048 -artifact_prefix=build/fuzz/crashes/ \
        -print_final_stats=1 >"build/fuzz/fuzz_$target.log" 2>&1; then
        echo "fuzz_$target FAILED; see build/fuzz/fuzz_$target.log"
        status=1
    fi
    grep -E "^stat::number_of_executed_units|^stat::peak_rss_mb|cov:" \
        "build/fuzz/fuzz_$target.log" | tail -3 || true
done
exit $status
