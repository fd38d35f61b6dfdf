#!/usr/bin/env bash
# check-fuzz-build.sh <source folder> <scratch folder>: configures the build `make fuzz` makes
# (clang, tests and benchmarks off) and builds two of its targets, so that a fuzz build that
# no longer configures or compiles is found by `make test` and not by the next fuzzing run.
set -euo pipefail
source_dir=$1
scratch=$2
if ! command -v clang++ >/dev/null 2>&1; then
    echo "clang++ is not installed; skipped (scripts/install-deps.sh installs it)" >&2
    exit 77
fi
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$source_dir" -B "$scratch" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DCORVANE_FUZZ=ON -DCORVANE_TESTS=OFF -DCORVANE_BENCH=OFF "${launcher[@]}" \
    >"$scratch.configure.log" 2>&1 || { cat "$scratch.configure.log"; echo "FAIL: the fuzz build does not configure" >&2; exit 1; }
# The target that drives a reader with test doubles, and the smallest one.
cmake --build "$scratch" --target fuzz_winkey_decoder fuzz_pack_spot -j2 >"$scratch.build.log" 2>&1 ||
    { tail -n 60 "$scratch.build.log"; echo "FAIL: the fuzz targets do not build" >&2; exit 1; }
# libFuzzer adds what it finds to the first folder it is given: a scratch one, not the seeds.
rm -rf "$scratch.corpus" && mkdir -p "$scratch.corpus"
"$scratch/fuzz/fuzz_pack_spot" -runs=2000 -seed=1 "$scratch.corpus" "$source_dir/fuzz/seeds/pack_spot" >"$scratch.run.log" 2>&1 ||
    { tail -n 40 "$scratch.run.log"; echo "FAIL: fuzz_pack_spot faulted" >&2; exit 1; }
echo "fuzz build ok"
