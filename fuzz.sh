#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one for SECONDS (default 60), one after the
# other. Any crash, sanitizer report, input slower than 10 s or above 2 GB of memory fails the run;
# the input that failed is left in build-fuzz/findings/; once fixed, it goes into tests/fuzz/findings/.
#   ./fuzz.sh [SECONDS] [TARGET...]      TARGET: level, library, merge (default: all three)
set -euo pipefail
cd "$(dirname "$0")"

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(level library merge)

scripts/install-packages.sh
if ! command -v clang++-14 >/dev/null || ! dpkg-query -W -f='${Status}' libclang-rt-14-dev 2>/dev/null | grep -q "install ok installed"; then
    as_root=()
    [ "$(id -u)" -ne 0 ] && as_root=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${as_root[@]}" apt-get update -qq
    "${as_root[@]}" apt-get install -y -qq --no-install-recommends clang-14 libclang-rt-14-dev
fi

build=build-fuzz
CXX=clang++-14 cmake -S . -B "$build" -G Ninja -DVELTRANE_FUZZ=ON -DVELTRANE_WERROR=ON >/dev/null
cmake --build "$build" --target fuzz_level fuzz_library fuzz_merge fuzz_make_seeds

"$build/fuzz/fuzz_make_seeds" "$build/seeds"
mkdir -p "$build/findings"
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0:abort_on_error=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

status=0
for target in "${targets[@]}"; do
    case $target in
        level) dict=fuzz/level.dict ;;
        *) dict=fuzz/library.dict ;;
    esac
    corpus=$build/corpus/$target
    mkdir -p "$corpus"
    echo "== fuzz_$target for ${seconds}s"
    if ! "$build/fuzz/fuzz_$target" "$corpus" "$build/seeds/$target" -dict="$dict" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=300000 -print_final_stats=1 \
        -artifact_prefix="$build/findings/$target-" 2>"$build/fuzz_$target.log"; then
        status=1
        grep -E 'ERROR|SUMMARY|broken:' "$build/fuzz_$target.log" | head -5 || true
        echo "fuzz_$target FAILED; see $build/fuzz_$target.log and $build/findings/"
    fi
    grep -E '^#[0-9]+.*DONE|^stat::number_of_executed_units' "$build/fuzz_$target.log" || true
done
exit $status
