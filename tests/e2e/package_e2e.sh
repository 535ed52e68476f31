#!/usr/bin/env bash
# Builds the .deb, unpacks it into a scratch root as dpkg would install it, checks
# what it holds, and starts the unpacked program on a real X server.
#   package_e2e.sh BUILD_DIR
set -uo pipefail
export LC_ALL=C.UTF-8
build=$1
id=org.velinora.Velinora

here=$(dirname "$0")
source "$here/x11_session.sh"

begin_x_session || exit 1

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp/package" >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log" >&2; exit 1; }
deb=$(echo "$tmp"/package/velinora_*.deb)
check "the package is built" test -f "$deb"
check "the package's version is 1.00" same "$(dpkg-deb -f "$deb" Version)" "1.00"
depends=$(dpkg-deb -f "$deb" Depends)
check "it depends on the DejaVu fonts" grep -q 'fonts-dejavu-core' <<<"$depends"
check "its library depends are resolved" grep -q 'libqt6widgets6' <<<"$depends"

root=$tmp/root
dpkg-deb -x "$deb" "$root"
share=$root/usr/share
check "the program is in /usr/bin" test -x "$root/usr/bin/velinora"
check "the desktop entry validates" desktop-file-validate "$share/applications/$id.desktop"
check "the metainfo validates" appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml"
for size in 16 32; do
    icon=$share/icons/hicolor/${size}x$size/apps/$id.png
    check "the ${size}x$size icon is a PNG of that size" same "$(identify -format '%m %wx%h' "$icon")" "PNG ${size}x$size"
done
check "the desktop entry names the icon" grep -qx "Icon=$id" "$share/applications/$id.desktop"

"$root/usr/bin/velinora" &
app=$!
if wait_for_window "ВЕЛИНОРА"; then
    passed=$((passed + 1))
    class=$(sed -n 's/^StartupWMClass=//p' "$share/applications/$id.desktop")
    check "the running window's class is the desktop entry's StartupWMClass" \
        grep -q "\"$class\"\$" <<<"$(xprop -id "$window" WM_CLASS)"
else
    failed=$((failed + 1))
    echo "FAIL: the installed program shows no window" >&2
fi

report
