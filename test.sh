#!/usr/bin/env bash
# Builds Tonsmith and runs every test: the normal build, the build under
# AddressSanitizer and UndefinedBehaviorSanitizer, the format check and a
# bounded fuzzing run of the file readers, and the checks of the Debian
# package. Installs what is missing first.
#   FUZZ_SECONDS=N   time per fuzz target (default 60; 0 skips fuzzing)
#   SKIP_SANITIZE=1  skip the sanitizer build
#   TONSMITH_INSTALL_CHECK=1  also install, start and remove the package
#                    with apt (root only; CI sets it)
set -euo pipefail
cd "$(dirname "$0")"
jobs=${JOBS:-2}

scripts/deps.sh
scripts/check-format.sh

build() { # dir, extra cmake args...
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTONSMITH_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
}

build build
scripts/with-services.sh ctest --test-dir build --output-on-failure -j"$jobs" --timeout 300
scripts/check-package.sh build

if [ "${SKIP_SANITIZE:-0}" != 1 ]; then
  build build-asan -DTONSMITH_SANITIZE=ON -DTONSMITH_BENCH=OFF
  # Leaks are errors too; only those inside the system libraries listed in
  # scripts/lsan.supp are let through.
  ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp" \
    UBSAN_OPTIONS=print_stacktrace=1 \
    scripts/with-services.sh ctest --test-dir build-asan --output-on-failure -j"$jobs" --timeout 600
fi

if [ "${FUZZ_SECONDS:-60}" != 0 ]; then
  CC=clang CXX=clang++ build build-fuzz -DTONSMITH_FUZZ=ON -DTONSMITH_TESTS=OFF -DTONSMITH_BENCH=OFF
  scripts/fuzz.sh build-fuzz "${FUZZ_SECONDS:-60}"
fi
echo "All tests passed."
