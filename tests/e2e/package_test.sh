#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the source package of this tree and the .deb from it, as Debian's builders do,
# and checks them as Debian, a software centre and a user's menu see them: policy, the
# validators, and the package's files agreeing with each other. The packages are left in
# OUT for scripts/autopkgtest, which tests them installed.
#   package_test.sh OUT
set -euo pipefail
export LC_ALL=C.UTF-8
source=$(cd "$(dirname "$0")/../.." && pwd)
out=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Built beside a copy, so that this tree stays as it is; the unit tests have run already.
(cd "$tmp" && dpkg-source -b "$source" >/dev/null)
rm -rf "$out" && mkdir -p "$out"
dpkg-source -x "$tmp"/*.dsc "$out/tree" >/dev/null
(cd "$out/tree" && DEB_BUILD_OPTIONS=nocheck dpkg-buildpackage -us -uc -Pnocheck >../build.log 2>&1) ||
    { tail -n 40 "$out/build.log"; fail "dpkg-buildpackage failed"; }
rm -rf "$out/tree"
deb=$(echo "$out"/velinora_"$VELINORA_VERSION"_*.deb)
homepage=$(dpkg-deb -f "$deb" Homepage)
# Informational and pedantic tags too: they are where missing hardening shows. One is
# kept: Debian 13's lintian knows a newer policy than 4.6.2, the newest Debian 12's knows.
tags=$(lintian --pedantic --display-info --fail-on none "$out"/*.changes |
    grep -v ' out-of-date-standards-version 4.6.2 ' || true)
[ -z "$tags" ] || fail "lintian: $tags"
dpkg-deb -x "$deb" "$tmp/root"
share=$tmp/root/usr/share

# The menu entry, the metainfo and the icons must name each other (lintian checks that
# the entry starts a program of the package; the catalog builder below finds the icon
# through the entry that the metainfo launches).
desktop=$(echo "$share"/applications/*.desktop)
id=$(basename "$desktop" .desktop)
desktop-file-validate "$desktop"
meta=$share/metainfo/$id.metainfo.xml
grep -q "<id>$id</id>" "$meta" || fail "the metainfo's id is not $id"
# appstream 1.0 wants a homepage; the project has none yet.
appstreamcli validate --no-net "$meta" ||
    { [ -z "$homepage" ] && appstreamcli validate --no-net --override=url-homepage-missing=info "$meta"; }
/usr/bin/python3 - "$share/icons/hicolor" "$id" <<'PY' || fail "the icons are not the heart at every size"
import sys
from PIL import Image
art = {size: Image.open(f"{sys.argv[1]}/{size}x{size}/apps/{sys.argv[2]}.png").convert("RGBA") for size in (16, 32, 64, 128, 256)}
assert all(image.size == (size, size) for size, image in art.items())
# The larger sizes are the 32-pixel art in square blocks, so they stay crisp.
assert all(art[size].resize((32, 32), Image.NEAREST).tobytes() == art[32].tobytes() for size in (64, 128, 256))
assert all(len(set(image.getdata())) <= 17 for image in art.values())  # the 16-colour palette and transparency
PY

appstreamcli compose --no-net --prefix=/usr --origin=velinora --result-root="$tmp/catalog" "$tmp/root" >"$tmp/compose.log" ||
    { cat "$tmp/compose.log"; fail "the catalog builder failed"; }
zgrep -q '<icon type="cached"' "$tmp"/catalog/usr/share/swcatalog/xml/velinora.xml.gz || fail "the catalog entry has no icon"

# What the package depends on is what the program uses: the packages of the libraries
# it links and of the face it falls back to; it recommends that of Qt's Bulgarian texts.
program=$tmp/root/usr/bin/velinora
relation() { dpkg-deb -f "$deb" "$1" | tr ',|' '\n' | sed 's/(.*//; s/ //g'; }
owner() { # of a file, under /usr or not (usrmerge)
    { dpkg -S "$1" || dpkg -S "/usr$1" || dpkg -S "${1#/usr}"; } 2>/dev/null | head -n 1 | cut -d: -f1
}
used=$(objdump -p "$program" | awk '$1 == "NEEDED" { print $2 }' |
    while read -r library; do owner "$(ldd "$program" | awk -v l="$library" '$1 == l { print $3 }')"; done)
used+=$'\n'$(owner "$(fc-match -f '%{file}' 'DejaVu Sans:bold')")
missing=$(comm -23 <(sort -u <<<"$used") <(relation Depends | sort -u))
[ -z "$missing" ] || fail "the package does not depend on $missing"
relation Recommends | grep -qx "$(owner /usr/share/qt6/translations/qtbase_bg.qm)" ||
    fail "the package does not recommend Qt's Bulgarian texts"

