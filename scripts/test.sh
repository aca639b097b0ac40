#!/usr/bin/env bash
# Builds vorlin and runs every test: the unit, integration and GUI tests (GCC build), the
# ThreadSanitizer run of the threaded tests, a short run of every fuzz target (clang build), and the
# Debian package built, checked and tried unpacked.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

JOBS="${JOBS:-$(nproc)}"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"

echo "== fuzz targets (clang, libFuzzer, ${FUZZ_SECONDS:-20} s each)"
cmake --preset fuzz -DVORLIN_FUZZ_SECONDS="${FUZZ_SECONDS:-20}" >/dev/null
cmake --build --preset fuzz -j "$JOBS" --target $(ls tests/fuzz/fuzz_*.cpp | xargs -n1 basename | sed 's/\.cpp$//')
ctest --preset fuzz

echo "== threaded tests under ThreadSanitizer"
cmake --preset tsan >/dev/null
TSAN_TARGETS=(hid_tests link_tests sim_tests profiles_tests devices_tests device_threads_tests
              online_tests)
cmake --build --preset tsan -j "$JOBS" --target "${TSAN_TARGETS[@]}"
for t in "${TSAN_TARGETS[@]}"; do
  TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/tests/tsan.supp" \
    "build/tsan/tests/$t" --gtest_brief=1
done

echo "== all tests"
cmake --preset default >/dev/null
cmake --build --preset default -j "$JOBS"
ctest --preset default

echo "== the Debian package (about a minute)"
bash scripts/package-test.sh
