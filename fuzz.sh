#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one for SECONDS (default 60), one after the
# other, starting from the corpus kept in the repository (tests/fuzz/corpus/TARGET) and seeds made
# from the demo generator. New inputs gather in build-fuzz/corpus/TARGET; --fold minimises the kept
# corpus together with them into tests/fuzz/corpus/TARGET, ready to commit.
# Any crash, sanitizer report, input slower than 10 s or above 1 GB of memory fails the run; the
# input that failed is left in build-fuzz/findings/; once fixed, it goes into tests/fuzz/findings/.
#   ./fuzz.sh [SECONDS] [TARGET...]      TARGET: level, library, merge (default: all three)
#   ./fuzz.sh --fold [TARGET...]
set -euo pipefail
cd "$(dirname "$0")"

fold=false
if [ "${1:-}" = "--fold" ]; then
    fold=true
    shift
else
    seconds=${1:-60}
    shift || true
fi
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
    kept=tests/fuzz/corpus/$target
    corpus=$build/corpus/$target
    mkdir -p "$corpus" "$kept"
    if $fold; then
        # A merge keeps, smallest first, only the inputs that reach an edge the folder does not yet
        # reach. The seeds go in first and out after, as every run makes them anew; inputs are cut to
        # 16 KiB, so that what the repository keeps stays small.
        folded=$(mktemp -d)
        cp "$build/seeds/$target"/* "$folded"/
        "$build/fuzz/fuzz_$target" -merge=1 -use_counters=0 -rss_limit_mb=1024 -max_len=16384 \
            "$folded" "$kept" "$corpus" 2>"$build/fold_$target.log"
        for seed in "$build/seeds/$target"/*; do rm "$folded/$(basename "$seed")"; done
        rm -f "$kept"/*
        mv "$folded"/* "$kept"/ 2>/dev/null || true
        rmdir "$folded"
        echo "$kept: $(ls "$kept" | wc -l) inputs, $(du -sh --apparent-size "$kept" | cut -f1)"
        continue
    fi
    case $target in
        level) dict=fuzz/level.dict ;;
        *) dict=fuzz/library.dict ;;
    esac
    echo "== fuzz_$target for ${seconds}s"
    # A chunk may state any size up to 4 GB; memory must follow the bytes, never the claim, so the
    # limit (on the process and on any one allocation) is far below what a claim can ask for.
    if ! "$build/fuzz/fuzz_$target" "$corpus" "$kept" "$build/seeds/$target" -dict="$dict" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -max_len=300000 -print_final_stats=1 \
        -artifact_prefix="$build/findings/$target-" 2>"$build/fuzz_$target.log"; then
        status=1
        grep -E 'ERROR|SUMMARY|broken:' "$build/fuzz_$target.log" | head -5 || true
        echo "fuzz_$target FAILED; see $build/fuzz_$target.log and $build/findings/"
    fi
    grep -E '^#[0-9]+.*DONE|^stat::number_of_executed_units' "$build/fuzz_$target.log" || true
done
$fold || echo "to keep what this run found: ./fuzz.sh --fold ${targets[*]}, then commit tests/fuzz/corpus/"
exit $status
