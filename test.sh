#!/usr/bin/env bash
# Installs what is missing, checks the format and the functions' length, builds, and runs the whole test
# suite through CTest.
# The slide-show library, which runs a loader thread, is also built and tested under ThreadSanitizer;
# the download engine, whose runs may end from inside their own handlers, under AddressSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

echo "== format (clang-format, the repo's .clang-format)"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
echo "== function length"
scripts/check_function_length.sh

scripts/build.sh
options=(-DLANTERNA_WERROR="${LANTERNA_WERROR:-0}")
command -v ccache >/dev/null && options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

echo "== slide-show tests under ThreadSanitizer"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLANTERNA_TSAN=ON "${options[@]}" >/dev/null
cmake --build build-tsan --parallel "$(nproc)" --target slideshow_tests
# Nothing is suppressed: only Qt's image pool threads are left unchecked (slideshow/tests/tsan_qt_pool.cpp).
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" QT_QPA_PLATFORM=offscreen build-tsan/slideshow/slideshow_tests --gtest_brief=1

echo "== download engine tests under AddressSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLANTERNA_ASAN=ON "${options[@]}" >/dev/null
cmake --build build-asan --parallel "$(nproc)" --target transfer_tests
# Qt and the system libraries keep some memory until exit: only wrong accesses fail the run.
ASAN_OPTIONS="halt_on_error=1 detect_leaks=0" QT_QPA_PLATFORM=offscreen build-asan/transfer/tests/transfer_tests --gtest_brief=1

echo "== all tests"
cd build
ctest --output-on-failure --timeout 300 --parallel "$(nproc)"
