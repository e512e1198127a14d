#!/usr/bin/env bash
# Builds the Debian package from a configured build folder and checks it as
# Debian would: the file list, lintian, the AppStream metadata, the desktop
# entry and the manual pages; then the unpacked programs answer and find each
# other. With TONSMITH_INSTALL_CHECK=1 (CI, as root, on a machine of its own)
# it also installs the package with apt, starts the program from its menu
# entry for the first time on a virtual display (it must render its demo
# workspace), removes the package and checks nothing is left.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

cmake --build "$build" --target deb >/dev/null
deb=$(ls "$PWD/$build"/tonsmith_*.deb)
version=$(dpkg-deb -f "$deb" Version)
fail() { echo "check-package: $*" >&2; exit 1; }

diff -u tests/package/files.txt \
  <(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' | grep -v '/$' | sort) ||
  fail "the package's files differ from tests/package/files.txt"
findings=$(lintian --fail-on error --tag-display-limit 0 "$deb" 2>&1) || {
  echo "$findings"
  fail "lintian found errors"
}
echo "$findings" | grep -v 'root privileges' || true
appstreamcli validate --no-net "$build"/resources/*.metainfo.xml >/dev/null ||
  fail "the AppStream metadata does not validate"
desktop-file-validate resources/tonsmith.desktop || fail "the desktop entry does not validate"
for page in "$build"/resources/man/*.1; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page: $warnings"
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
for program in tonsmith tonsmith-batch tonsmith-console; do
  [ "$("$root/usr/bin/$program" --version)" = "$program $version" ] || fail "$program --version"
done
"$root/usr/bin/tonsmith" --help | grep -qF "  $root/usr/bin/tonsmith-batch  runs the batch script" ||
  fail "the unpacked tonsmith does not find tonsmith-batch beside it"
"$root/usr/bin/tonsmith" --help | grep -qF "  $root/usr/share/tonsmith/demo  copied to" ||
  fail "the unpacked tonsmith does not find its demo workspace"

if [ "${TONSMITH_INSTALL_CHECK:-0}" = 1 ]; then
  [ "$(id -u)" -eq 0 ] || fail "TONSMITH_INSTALL_CHECK=1 needs root"
  ! dpkg-query -W tonsmith >/dev/null 2>&1 || fail "tonsmith is already installed here"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >/dev/null
  files=$(dpkg -L tonsmith)
  tonsmith --help | grep -qF "  /usr/bin/tonsmith-batch  runs the batch script" ||
    fail "the installed tonsmith does not find tonsmith-batch"
  # From the menu, for the first time: the entry's program, without its field
  # codes, started from "/" with an empty home, renders the demo workspace.
  read -r -a command < <(sed -n 's/^Exec=//p' /usr/share/applications/tonsmith.desktop | sed 's/ %[a-zA-Z]//g')
  program=$(command -v "${command[0]}") || fail "the menu entry's program ${command[0]} is not on PATH"
  scripts/with-services.sh dbus-run-session -- /usr/bin/python3 tests/mainwindow/e2e_firststart.py "$program" ||
    fail "the installed program, started as from the menu, did not render the demo"
  DEBIAN_FRONTEND=noninteractive apt-get remove -y -q tonsmith >/dev/null
  while IFS= read -r f; do
    [ -d "$f" ] || [ ! -e "$f" ] || fail "$f is left after apt-get remove"
  done <<<"$files"
  [ ! -e /usr/bin/tonsmith ] || fail "/usr/bin/tonsmith is left"
  ! dpkg-query -W -f='${Status}' tonsmith 2>/dev/null | grep -q 'ok installed' || fail "still installed"
fi
echo "The package $deb passed its checks."
