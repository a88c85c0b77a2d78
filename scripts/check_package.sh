#!/bin/sh
# The Debian package as a person gets it:
#
#   check_package.sh [BUILD_DIR]     (default: build/default, already built)
#
# builds it (cpack -G DEB), unpacks it with dpkg-deb -x into a temporary
# folder and runs, from there and with a fresh HOME, `tarnterm --version`,
# `--info` and `--demo`. After the demo UserSetting.ini and server.db must be
# in ~/.local/share/tarnterm and nothing may have changed in the unpacked
# tree (nothing written beside the executable). Every search path of the
# package's binaries must be relative ($ORIGIN), so that the run cannot have
# found the build folder's libraries. Last, lintian (no error; its warnings
# are printed) and desktop-file-validate. Exit status 1 on any failure.
set -eu
build=$(cd "${1:-build/default}" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
  echo "check_package: FAILED: $*" >&2
  exit 1
}

cd "$build"
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' CPackConfig.cmake)
if ! cpack -G DEB >"$tmp/cpack.log" 2>&1; then
  cat "$tmp/cpack.log" >&2
  fail "cpack -G DEB"
fi
deb="$build/tarnterm_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no package $deb after cpack"
echo "check_package: built $deb ($(du -k "$deb" | cut -f1) KiB)"
dpkg-deb -f "$deb" Package Version Architecture Depends

root="$tmp/root"
dpkg-deb -x "$deb" "$root"
exe="$root/usr/bin/tarnterm"
for elf in "$exe" "$root"/usr/lib/tarnterm/*.so; do
  paths=$(readelf -d "$elf" | sed -n 's/.*(\(RUNPATH\|RPATH\)).*\[\(.*\)\]$/\2/p')
  case "$paths" in
    '$ORIGIN' | '$ORIGIN/../lib/tarnterm') ;;
    *) fail "$elf searches '$paths' for libraries, not a path relative to itself" ;;
  esac
done

(cd "$root" && find . -exec ls -ld --time-style=+%s.%N {} + | sort) >"$tmp/before"
export HOME="$tmp/home"
mkdir "$HOME"
unset XDG_DATA_HOME LD_LIBRARY_PATH
cd "$tmp"
"$exe" --version >"$tmp/version" || fail "tarnterm --version"
cat "$tmp/version"
grep -qx "tarnterm $version" "$tmp/version" || fail "tarnterm --version does not say tarnterm $version"
grep -q "^plug-in: .* ($root/usr/lib/tarnterm/AllowedGroups.so)$" "$tmp/version" ||
  fail "tarnterm --version did not load the plug-in from the package's lib/tarnterm"
"$exe" --info >"$tmp/info" || fail "tarnterm --info"
grep -q "^menu title: RMS Allowed Groups$" "$tmp/info" || fail "tarnterm --info: no menu title"
# Bounded here: a demo that never ends would otherwise outlive the test
# runner's own time-out, which stops this script but not its children.
timeout --kill-after=5 120 "$exe" --demo >"$tmp/demo" 2>&1 || {
  tail -20 "$tmp/demo" >&2
  fail "tarnterm --demo"
}
echo "check_package: the demo ran ($(wc -l <"$tmp/demo") lines)"
data="$HOME/.local/share/tarnterm"
for file in UserSetting.ini server.db; do
  [ -f "$data/$file" ] || fail "after the demo there is no $data/$file"
done
(cd "$root" && find . -exec ls -ld --time-style=+%s.%N {} + | sort) >"$tmp/after"
if ! diff "$tmp/before" "$tmp/after" >&2; then fail "the run changed the unpacked tree (above)"; fi
echo "check_package: the demo kept its data in ~/.local/share/tarnterm and wrote nothing beside the executable"

lintian --fail-on error --no-tag-display-limit "$deb" >"$tmp/lintian" 2>&1 || {
  cat "$tmp/lintian" >&2
  fail "lintian reports errors"
}
echo "check_package: lintian: no error; $(grep -c '^W: ' "$tmp/lintian" || true) warning(s)"
sed -n 's/^W: /check_package: lintian warning: /p' "$tmp/lintian"
desktop-file-validate "$root/usr/share/applications/tarnterm.desktop" || fail "desktop-file-validate"
echo "check_package: passed"
