#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Velinora developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The site builds to the same bytes from a copy of its sources in another folder, at
# another time, under another umask and locale.
#   reproducible.sh SITE FOLDER    (from the top of the source tree)
set -euo pipefail
site=$(realpath "$1")
folder=$(realpath -m "$2")
rm -rf "$folder"
mkdir -p "$folder/source/ui"
cp -r core web "$folder/source/"
cp -r ui/icons "$folder/source/ui/"
(cd "$folder/source" && umask 077 && LC_ALL=C faketime '2038-01-19 03:14:07' /usr/bin/python3 web/build.py ../site)
listing() { (cd "$1" && find . -printf '%m %s %p\n' | sort); }
diff <(listing "$site") <(listing "$folder/site")
diff -r "$site" "$folder/site"
echo "the site builds to the same bytes again"
