#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The installer as a user runs it, silently, in the fresh Wine prefix and on the X server
# that scripts/x-session gives: the program, its Start-menu entry and its Apps & features
# entry are there and the program starts; run again through its pages while the program
# is open, it says in its own words why it cannot go on, and goes on once the program is
# closed; the silent uninstall leaves nothing behind. Its licence page asks for no
# acceptance.
#   installer_test.sh SETUP.EXE UIA_CLIENT.EXE
set -euo pipefail
setup=$1 uia=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
# shellcheck source=../../scripts/x-session
source "$(dirname "$0")/../../scripts/x-session"

trap 'wineserver -k 2>/dev/null || true' EXIT
user=$WINEPREFIX/drive_c/users/$(id -un)
key="HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$VELINORA_APP_ID"

# GPL-3.0 needs no acceptance to install or run the program, and the licence page, among
# the texts the installer holds at the head of its compressed data, says so.
/usr/bin/python3 - "$setup" <<'PY' || fail "the licence page asks for an acceptance"
import lzma, sys
data = open(sys.argv[1], "rb").read()
start = data.index(b"\xef\xbe\xad\xdeNullsoftInst") + 24  # where NSIS's first header ends
lc_lp_pb, dictionary = data[start], int.from_bytes(data[start + 1:start + 5], "little")
texts = lzma.LZMADecompressor(lzma.FORMAT_RAW, filters=[{"id": lzma.FILTER_LZMA1, "dict_size": dictionary, "lc": lc_lp_pb % 9,
                                                        "lp": lc_lp_pb // 9 % 5, "pb": lc_lp_pb // 45}]).decompress(data[start + 5:], 1 << 21)
# NSIS's stock page asks the user to press Съгласен, as one must accept the agreement.
said = [text in texts.decode("utf-16-le", "replace") for text in ("Не е нужно да приемате лиценза", "Трябва да приемете", "Съгласен")]
assert said == [True, False, False], said
PY

# The installer's own Properties name its makers and licence in Bulgarian, as UTF-16.
/usr/bin/python3 - "$setup" <<'PY' || fail "the installer's version resource is not the program's"
import sys
import pefile
strings = {key.decode(): value.decode() for info in pefile.PE(sys.argv[1]).FileInfo[0] if info.Key == b"StringFileInfo"
           for table in info.StringTable for key, value in table.entries.items()}
said = [strings.get(key) for key in ("CompanyName", "LegalCopyright")]
assert said == ["Разработчиците на Велинора", "© 2026 Разработчиците на Велинора. GPL-3.0 или по-нова версия"], said
PY

# Every file but the temporary ones: the uninstaller runs from a copy of itself there,
# which Windows removes at its next start.
files() { (cd "$WINEPREFIX/drive_c" && find . -path "./users/*/AppData/Local/Temp" -prune -o -print | sort); }
before=$(files)

wine "$setup" /S
wineserver --wait
folder=$user/AppData/Local/Programs/Velinora
for file in velinora.exe LICENSE.txt notices/Qt.txt notices/DejaVu.txt uninstall.exe; do
    [ -f "$folder/$file" ] || fail "$file is not installed in $folder"
done
[ -f "$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Велинора.lnk" ] ||
    fail "no Start-menu entry"
wine reg export "$key" "$(winepath -w "$WINEPREFIX/entry.reg")" /y
entry=$(iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/entry.reg" | tr -d '\r')
# shellcheck disable=SC1003 # the backslashes are the registry's, not escapes
for value in '"DisplayName"="Велинора"' "\"DisplayVersion\"=\"$VELINORA_VERSION\"" '"Publisher"="Разработчиците на Велинора"' \
    '"DisplayIcon"="C:\\users\\' '"UninstallString"="\"C:\\users\\' '"EstimatedSize"=dword:'; do
    grep -qF "$value" <<<"$entry" || fail "the uninstall entry lacks '$value': $entry"
done
rm "$WINEPREFIX/entry.reg"

wine "$folder/velinora.exe" &
program=$!
wait_for_window ВЕЛИНОРА || fail "the installed program shows no window"

# A reinstall while the program is open. Windows does not let a running program's file be
# overwritten, and neither does Wine: the user meets the installer's message box. It has
# the installer's title, as the installer's own window may have too.
installed_at=$(stat -c %y "$folder/velinora.exe")
title="Инсталиране на Велинора"
wine "$setup" &
installer=$!
wait_for_window "$title" || fail "the installer shows no window"
installer_window=$window
find_box() { box=$(xdotool search --onlyvisible --name "^$title\$" | grep -vx "$installer_window" | head -n 1); }
gone() { ! kill -0 "$1" 2>/dev/null; }
# Enter takes the welcome, licence and folder pages, and is pressed again where a page
# was not yet there to take it.
for _ in 1 2 3 4 5 6; do
    xdotool windowfocus --sync "$installer_window" key Return
    wait_for 5 find_box && break
done
find_box || fail "the reinstall showed no message while the program was open"
said=$(printf 'controls\n' | wine "$uia" "$title" | tr -d '\r')
echo "the message box while the program is open:" && sed -n 's/^/    /; /^    \(Static\|Button\)/p' <<<"$said"
message='Файлът не може да бъде записан:\r\n\r\n'$(winepath -w "$folder/velinora.exe")'\r\n\r\nАко Велинора е отворена, затворете я и опитайте отново.'
sed -n 's/^Static [0-9]* //p' <<<"$said" | grep -qxF "\"$message\"" || fail "the box does not say '$message': $said"
# Retry and Cancel, as Windows names them: skipping the program would leave the old one.
[ "$(sed -n 's/^Button \([0-9]*\) .*/\1/p' <<<"$said" | sort | tr '\n' ' ')" = "2 4 " ] ||
    fail "the box does not offer just retrying and stopping: $said"
[ "$(stat -c %y "$folder/velinora.exe")" = "$installed_at" ] || fail "the open program was overwritten"

# Closed as a window manager closes it, the program ends; retrying, the box's default,
# completes the reinstall, and Enter on the finish page ends the installer and starts
# the new program. The close goes to every X window of that title, as the one xdotool
# names first may be a frame of Wine's own, and again until the program has ended: with
# the machine busy, Wine has been seen to drop the first (that one close suffices is
# WindowsProgram's to hold).
wait_for_window ВЕЛИНОРА || fail "the program's window is gone while it runs"
close_program() {
    local windows
    mapfile -t windows < <(xdotool search --onlyvisible --name '^ВЕЛИНОРА$')
    /usr/bin/python3 - "$(dirname "$0")/../e2e" "${windows[@]}" <<'PY'
import sys
from Xlib import display
sys.path.insert(0, sys.argv[1])
from checks import close  # noqa: E402
x = display.Display()
for window in sys.argv[2:]:
    close(x, x.create_resource_object("window", int(window)))
x.close()
PY
}
for _ in $(seq 20); do
    close_program
    wait_for 3 gone "$program" && break
done
gone "$program" || fail "the program did not end when closed"
xdotool windowfocus --sync "$box" key Return
for _ in $(seq 10); do
    xdotool windowfocus --sync "$installer_window" key Return 2>/dev/null || true
    wait_for 5 gone "$installer" && break
done
gone "$installer" || fail "the reinstall did not complete once the program was closed"
wait "$installer" || fail "the reinstall ended with status $?"
[ "$(stat -c %y "$folder/velinora.exe")" != "$installed_at" ] || fail "the reinstall left the old program"
wait_for_window ВЕЛИНОРА || fail "the reinstalled program did not start from the finish page"
wineserver -k
wineserver --wait

wine "$folder/uninstall.exe" /S
wineserver --wait # for the uninstaller's copy
[ "$(files)" = "$before" ] || fail "the uninstall left: $(diff <(echo "$before") <(files) | grep '^>')"
! grep -qi velinora "$WINEPREFIX/user.reg" || fail "the uninstall left registry keys: $(grep -i velinora "$WINEPREFIX/user.reg")"
echo "installed, started, reinstalled past the open program and uninstalled without a trace;" \
    "the licence page asks for no acceptance"
