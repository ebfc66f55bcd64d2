#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Set up, build and start Teiler, or build and run every test.
#   scripts/teiler.sh run    install what is missing, build a release build, open the window
#   scripts/teiler.sh test   install what is missing, check the layout of every C++ file, build,
#                            run all tests, then the same tests built with AddressSanitizer and
#                            UBSan, a minute on three fuzz targets, a smoke test of the real window
#                            under Xvfb, a random input test of it and a quick benchmark run; last
#                            it packs build/ as a Debian package and checks it with lintian, and
#                            builds Teiler for Windows and tests it under Wine (scripts/windows.sh)
#   scripts/teiler.sh windows  the Windows zip and installer in build-windows/ (scripts/windows.sh)
set -euo pipefail
cd "$(dirname "$0")/.."

# fonts-liberation (1.x) beside fonts-liberation2, as office suites and many desktops install it:
# the reference pictures must come out the same with both.
packages=(g++ cmake ninja-build clang-format qt6-base-dev libfontconfig-dev fonts-liberation2 fonts-liberation
          xvfb xauth xdotool openbox wmctrl x11-utils imagemagick clang libclang-rt-14-dev
          desktop-file-utils appstream librsvg2-bin libbenchmark-dev lintian dpkg-dev file xclip
          qt6-translations-l10n poppler-utils shared-mime-info git shellcheck)

source scripts/install-missing.sh

build() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build
}

stage() { printf '\n=== %s ===\n' "$*"; }

# Each stage of "test" is timed. A failing command inside a stage ends the script (set -e), and
# the summary on exit then names the stage that failed; the count is of the stages that ran to
# their end.
run_start=$SECONDS
stages_passed=()
stage_running=""
stage_start=0
run_stage() {
    stage_running=$1
    stage_start=$SECONDS
    "${@:2}"
    stages_passed+=("$(printf '%-20s %5d s' "$1" $((SECONDS - stage_start)))")
    printf -- '--- %s: %d s\n' "$1" $((SECONDS - stage_start))
    stage_running=""
}
stage_summary() {
    local status=$? failed=0 line
    printf '\n=== stage times ===\n'
    for line in "${stages_passed[@]}"; do echo "$line"; done
    if [ -n "$stage_running" ]; then
        printf '%-20s %5d s  FAILED\n' "$stage_running" $((SECONDS - stage_start))
        failed=1
    elif [ "$status" -ne 0 ]; then
        failed=1
    fi
    local total=$((SECONDS - run_start))
    printf 'total: %d min %d s\n' $((total / 60)) $((total % 60))
    echo "stages: ${#stages_passed[@]} passed, $failed failed"
}

# Every C++ file git knows is as .clang-format lays it out (clang-format 14, Debian 12's).
format_check() {
    stage "format"
    local unformatted=()
    local f
    while IFS= read -r f; do
        clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || unformatted+=("$f")
    done < <(git ls-files '*.cpp' '*.h')
    if [ ${#unformatted[@]} -ne 0 ]; then
        printf 'not formatted: %s\n' "${unformatted[@]}" >&2
        echo "run: clang-format -i ${unformatted[*]}" >&2
        return 1
    fi
    echo "every C++ file is formatted"
    # The shell scripts, with the files they source, at shellcheck's warning level.
    local scripts=()
    mapfile -t scripts < <(git ls-files 'scripts/*.sh' 'tests/smoke/*.sh' .ci/run)
    shellcheck -x -P SCRIPTDIR -S warning "${scripts[@]}"
    echo "every shell script passes shellcheck"
}

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

# A minute of libFuzzer over every path that reads text or files, each target from the seed corpus
# in fuzz/corpus with a found corpus and a log of its own. teiler_fuzz_text (parse, number text,
# rounding, both factorizations, S step, steppers, hit-list header) gets half of
# TEILER_FUZZ_SECONDS: it holds nearly every invariant and, at over 20000 inputs a second, still
# finds new inputs late in its share. teiler_fuzz_board, opening and saving a ".teiler" file, gets
# a third: a JSON document has far more shapes than a number's text. teiler_fuzz_sheet, the drawing
# of the factorization sheet, gets the rest: what it draws depends on the text only through the
# one number read, and nearly all of its coverage comes in its first seconds. A crash, a sanitizer
# report, a broken invariant or an input slower than 10 ms fails, once all have run. The board
# target reads whole files, so it takes longer inputs, and must stay within 256 MB. Qt's libraries
# have no frame pointers: ASan's fast unwinder then records a partly random, new stack for nearly
# every allocation inside Qt, and its stack store grows by hundreds of bytes per input. Two frames
# per allocation and a small quarantine keep that bookkeeping from reaching the bound.
fuzz_text_inputs() {
    local total=${TEILER_FUZZ_SECONDS:-60}
    local text_seconds=$((total / 2)) board_seconds=$((total / 3))
    [ "$text_seconds" -ge 1 ] || text_seconds=1
    [ "$board_seconds" -ge 1 ] || board_seconds=1
    local sheet_seconds=$((total - text_seconds - board_seconds))
    [ "$sheet_seconds" -ge 1 ] || sheet_seconds=1
    stage "fuzzing the text inputs for $total s: text paths $text_seconds s," \
        "board file $board_seconds s, sheet $sheet_seconds s"
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DTEILER_FUZZ=ON -DTEILER_TESTS=OFF -DTEILER_BENCH=OFF >/dev/null
    cmake --build build-fuzz --target teiler_fuzz_text teiler_fuzz_sheet teiler_fuzz_board
    local run target seconds found log status limits asan failed=0
    for run in "text:$text_seconds" "board:$board_seconds" "sheet:$sheet_seconds"; do
        target=teiler_fuzz_${run%%:*} seconds=${run#*:}
        found=build-fuzz/corpus-${run%%:*} log=build-fuzz/$target.log status=0
        limits=(-max_len=1024 -rss_limit_mb=2048) asan=halt_on_error=1:detect_leaks=1
        if [ "${run%%:*}" = board ]; then
            limits=(-max_len=8192 -rss_limit_mb=256)
            asan=$asan:malloc_context_size=2:quarantine_size_mb=16
        fi
        rm -rf "$found" build-fuzz/"$target"-{crash,timeout,slow-unit,oom,leak}-*
        mkdir -p "$found"
        ASAN_OPTIONS=$asan UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        LSAN_OPTIONS="$lsan_options" build-fuzz/fuzz/"$target" \
            -max_total_time="$seconds" -timeout=1 "${limits[@]}" \
            -print_final_stats=1 -artifact_prefix=build-fuzz/"$target"- "$found" fuzz/corpus \
            >"$log" 2>&1 || status=$?
        if [ "$status" -ne 0 ] || grep -qE 'ERROR: |runtime error|invariant broken|slow input' "$log" ||
            ! grep -q '^Done [0-9]* runs' "$log"; then
            { grep -E -A25 'ERROR: |runtime error|invariant broken|slow input' "$log" || tail -40 "$log"; } |
                head -60 || true
            echo "$target failed (exit status $status); the full log is $log" >&2
            failed=1
            continue
        fi
        grep -E '^Done|stat::(average_exec_per_sec|new_units_added|peak_rss_mb)' "$log" |
            sed -E -e 's/stat::average_exec_per_sec: +/executions per second: /' \
                -e 's/stat::new_units_added: +/inputs added to the found corpus: /' \
                -e 's/stat::peak_rss_mb: +/peak memory: /; s/(memory: [0-9]+)$/\1 MB/' -e "s/^/$target: /"
    done
    [ "$failed" -eq 0 ] || return 1
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

tests() {
    stage "tests"
    ctest --test-dir build --output-on-failure -j2
}

windows_stage() {
    stage "windows"
    bash scripts/windows.sh test
}

smoke_test() {
    stage "smoke test of the window under Xvfb"
    bash tests/smoke/smoke.sh build/app/teiler build/smoke
}

# Random clicks, keys, texts, selections and menu commands on the real window (tests/smoke/
# monkey.sh): 3000 actions on the release build, from two fixed seeds and one new each run, and
# 300 on the sanitizer build of sanitized_tests. Each seed is printed with the command that
# replays it. strict_string_checks stays off here: libxkbcommon, which Qt loads under X, hands
# strndup a buffer without a terminating zero, which is allowed and would stop the run at once.
monkey_test() {
    stage "random input test of the window under Xvfb"
    local fresh
    fresh=$(date +%s)
    echo "seeds 1, 2 and, new this run, $fresh"
    bash tests/smoke/monkey.sh build/app/teiler build/monkey 1000 1 2 "$fresh"
    ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1 \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 LSAN_OPTIONS="$lsan_options" \
        bash tests/smoke/monkey.sh build-asan/app/teiler build-asan/monkey 300 3
}

# The Debian package of the release build (cmake/Packaging.cmake): lintian must report no error,
# its warnings and notes are printed; the package must hold the program, the menu entry, the
# icons, the AppStream data and the manual page under /usr, and depend on the Qt libraries.
debian_package() {
    stage "Debian package"
    rm -f build/teiler_*.deb
    if ! (cd build && cpack -G DEB) >build/cpack.log 2>&1; then
        tail -30 build/cpack.log
        echo "cpack failed; its output is build/cpack.log" >&2
        return 1
    fi
    local debs=(build/teiler_*_"$(dpkg --print-architecture)".deb)
    if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
        echo "cpack wrote no teiler_<version>_<arch>.deb into build/" >&2
        return 1
    fi
    local deb=${debs[0]} lint=build/lintian.txt status=0
    lintian --display-info "$deb" >"$lint" 2>build/lintian.err || status=$?
    grep -E '^[WIPX]: ' "$lint" || true
    if grep -q '^E: ' "$lint" || [ "$status" -ne 0 ]; then
        grep '^E: ' "$lint" || cat build/lintian.err
        echo "lintian rejects $deb (exit status $status); its report is $lint" >&2
        return 1
    fi
    local contents depends f missing=()
    contents=$(dpkg-deb --contents "$deb")
    echo "$contents"
    for f in bin/teiler share/applications/teiler.desktop share/metainfo/de.teiler.teiler.metainfo.xml \
        share/icons/hicolor/16x16/apps/teiler.png share/icons/hicolor/32x32/apps/teiler.png \
        share/icons/hicolor/scalable/apps/teiler.svg share/man/man1/teiler.1.gz \
        share/doc/teiler/copyright share/doc/teiler/changelog.gz; do
        grep -qE "^-.* \./usr/$f\$" <<<"$contents" || missing+=("/usr/$f")
    done
    grep -qE '^-rwxr-xr-x .* \./usr/bin/teiler$' <<<"$contents" || missing+=("an executable /usr/bin/teiler")
    if [ ${#missing[@]} -ne 0 ]; then
        echo "the package lacks ${missing[*]}" >&2
        return 1
    fi
    if grep -vE ' \./usr/' <<<"$contents"; then
        echo "the package holds the files above outside /usr" >&2
        return 1
    fi
    depends=$(dpkg-deb --field "$deb" Depends)
    echo "Depends: $depends"
    if [[ "$depends" != *libqt6widgets6* || "$depends" != *libc6* ]]; then
        echo "the dependencies were not computed from the program" >&2
        return 1
    fi
    echo "${deb#build/} passed lintian and holds everything"
}

case "${1:-}" in
run)
    install_missing "${packages[@]}"
    build
    exec build/app/teiler
    ;;
test)
    trap stage_summary EXIT
    run_stage "packages" install_missing "${packages[@]}"
    run_stage "format" format_check
    run_stage "build" build
    run_stage "tests" tests
    run_stage "sanitizers" sanitized_tests
    run_stage "fuzzing" fuzz_text_inputs
    run_stage "smoke test" smoke_test
    run_stage "random input test" monkey_test
    run_stage "benchmark" quick_benchmark
    run_stage "Debian package" debian_package
    run_stage "windows" windows_stage
    ;;
windows)
    exec bash scripts/windows.sh build
    ;;
*)
    echo "usage: $0 run|test|windows" >&2
    exit 2
    ;;
esac
