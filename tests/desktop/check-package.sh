#!/usr/bin/env bash
# Builds the Debian package from the build folder ($1) and checks it: the file
# name, the control fields (dependencies computed from the binaries, wine
# recommended), that it holds exactly what `cmake --install` installs, and
# that lintian finds no error in it.
set -euo pipefail
build_dir=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build_dir/CPackConfig.cmake" -B "$work" >/dev/null
debs=("$work"/zam-launcher_*_amd64.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "no zam-launcher_VERSION_amd64.deb"; exit 1; }
deb=${debs[0]}

field() { dpkg-deb -f "$deb" "$1"; }
# grep reads the whole value: with -q it would stop at the first match and
# dpkg-deb, cut off, would fail the pipeline.
expect() { # field, extended regular expression its value must match
    field "$1" | grep -E "$2" >/dev/null || { echo "$1: '$(field "$1")' does not match '$2'"; exit 1; }
}
expect Package '^zam-launcher$'
expect Version "^$(basename "$deb" | cut -d_ -f2)$"
expect Architecture '^amd64$'
expect Maintainer '^.+ <.+@.+>$'
expect Depends 'libqt6widgets6.*' # from the binaries
expect Depends 'libc6'
expect Recommends '^wine$'
expect Description '.+'
[ "$(field Description | wc -l)" -gt 1 ] || { echo "Description has no long text"; exit 1; }

cmake --install "$build_dir" --prefix "$work/installed/usr" >/dev/null
(cd "$work/installed" && find . -type f | sort) >"$work/installed.txt"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort >"$work/packaged.txt"
diff -u "$work/installed.txt" "$work/packaged.txt" || { echo "package differs from cmake --install"; exit 1; }

lintian --fail-on error "$deb"
echo "$(basename "$deb") is sound"
