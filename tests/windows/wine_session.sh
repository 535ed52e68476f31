#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command where the Windows tests can run programs under Wine: a private X server
# and a fresh Wine prefix that sees none of this machine's fonts, as a Windows without
# DejaVu would.
#   wine_session.sh COMMAND...
set -euo pipefail
# shellcheck source=../../scripts/x11_session.sh
source "$(dirname "$0")/../../scripts/x11_session.sh"
begin_x_session
trap 'wineserver -k 2>/dev/null || true; end_x_session' EXIT

export WINEPREFIX=$tmp/wine WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
printf '<?xml version="1.0"?>\n<fontconfig></fontconfig>\n' >"$tmp/fonts.conf"
export FONTCONFIG_FILE=$tmp/fonts.conf
wineboot --init
wineserver --wait
"$@"
