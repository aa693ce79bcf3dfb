#!/usr/bin/env bash
# Installs the launcher into a temporary prefix and checks what a desktop
# needs: the program, a valid desktop entry, the icon and valid AppStream data.
set -euo pipefail
build_dir=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build_dir" --prefix "$prefix" >/dev/null
id=net.zamlauncher.ZamLauncher
test -x "$prefix/bin/zam-launcher"
test -x "$prefix/bin/zam-query"
test -s "$prefix/share/icons/hicolor/128x128/apps/$id.png"
desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
echo "installed files are valid"
