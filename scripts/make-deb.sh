#!/usr/bin/env bash
# Builds the Debian package tonsmith_VERSION_ARCH.deb in build-deb/ and prints
# its path. Installs what the build needs first (with sudo when not root).
#   apt-get install ./build-deb/tonsmith_*.deb   then installs it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTONSMITH_WERROR=ON -DTONSMITH_TESTS=OFF -DTONSMITH_BENCH=OFF >/dev/null
# The build the tests use; the package strips the debugging symbols.
cmake --build build-deb -j"${JOBS:-2}" --target deb >/dev/null
ls "$PWD"/build-deb/tonsmith_*.deb
