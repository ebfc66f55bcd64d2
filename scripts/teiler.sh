#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Set up, build and start Teiler, or build and run every test.
#   scripts/teiler.sh run    install what is missing, build a release build, open the window
#   scripts/teiler.sh test   install what is missing, build, run all tests, then the same tests
#                            built with AddressSanitizer and UBSan, a minute of fuzzing, a
#                            smoke test of the real window under Xvfb and a quick benchmark run
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(g++ cmake ninja-build qt6-base-dev fonts-liberation2 xvfb xauth xdotool openbox
          wmctrl x11-utils imagemagick clang libclang-rt-14-dev desktop-file-utils appstream
          librsvg2-bin libbenchmark-dev)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build
}

stage() { printf '\n=== %s ===\n' "$*"; }

# Leaks inside fontconfig, which Qt loads, are not Teiler's; everything else must be clean.
lsan_options="suppressions=$PWD/fuzz/lsan.supp:print_suppressions=0"

# The whole test suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
sanitized_tests() {
    stage "tests with AddressSanitizer and UndefinedBehaviorSanitizer"
    cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTEILER_SANITIZE=ON \
        -DTEILER_BENCH=OFF >/dev/null
    cmake --build build-asan
    ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 LSAN_OPTIONS="$lsan_options" \
        ctest --test-dir build-asan --output-on-failure -j2
}

# A minute of libFuzzer over every path that reads text, from the seed corpus in fuzz/corpus.
# A crash, a sanitizer report, a broken invariant or an input slower than 10 ms fails.
fuzz_text_inputs() {
    stage "fuzzing the text inputs for ${TEILER_FUZZ_SECONDS:-60} s"
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DTEILER_FUZZ=ON -DTEILER_TESTS=OFF -DTEILER_BENCH=OFF >/dev/null
    cmake --build build-fuzz --target teiler_fuzz
    local found=build-fuzz/corpus log=build-fuzz/fuzz.log status=0
    rm -rf "$found" build-fuzz/crash-* build-fuzz/timeout-* build-fuzz/slow-unit-* build-fuzz/oom-*
    mkdir -p "$found"
    ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    LSAN_OPTIONS="$lsan_options" build-fuzz/fuzz/teiler_fuzz \
        -max_total_time="${TEILER_FUZZ_SECONDS:-60}" -timeout=1 -max_len=1024 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix=build-fuzz/ "$found" fuzz/corpus >"$log" 2>&1 || status=$?
    if [ "$status" -ne 0 ] || grep -qE 'ERROR: |runtime error|invariant broken|slow input' "$log" ||
        ! grep -q '^Done [0-9]* runs' "$log"; then
        { grep -E -A25 'ERROR: |runtime error|invariant broken|slow input' "$log" || tail -40 "$log"; } |
            head -60
        echo "fuzzing failed (exit status $status); the full log is $log" >&2
        return 1
    fi
    grep -E '^Done|stat::(number_of_executed_units|new_units_added|peak_rss_mb)' "$log"
    echo "fuzzing passed"
}

# The benchmark with few repetitions: it must still drive every command to a painted picture.
# Its timings are only informative here; README.md has the table of a full run.
quick_benchmark() {
    stage "benchmark, quick run"
    local status=0
    build/bench/teiler_bench --quick >build/bench-quick.txt 2>&1 || status=$?
    sed -n '/^Median of each command/,$p' build/bench-quick.txt
    if [ "$status" -ne 0 ]; then
        echo "the benchmark failed (exit status $status); its output is build/bench-quick.txt" >&2
        return 1
    fi
}

smoke_test() {
    stage "smoke test of the window under Xvfb"
    bash tests/smoke/smoke.sh build/app/teiler build/smoke
}

case "${1:-}" in
run)
    install_missing
    build
    exec build/app/teiler
    ;;
test)
    install_missing
    build
    stage "tests"
    ctest --test-dir build --output-on-failure -j2
    sanitized_tests
    fuzz_text_inputs
    smoke_test
    quick_benchmark
    # Any failing stage has ended the script already.
    echo "stages: 5 passed, 0 failed"
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
