#!/usr/bin/env bash
# The translation template the build made holds the texts of every window and
# of the core's messages, in English as the launcher shows them.
set -euo pipefail
template=$1/translations/zam-launcher.ts
test -s "$template"
for text in '&amp;Start singleplayer' 'Modifications' 'Select server or enter new' \
            'Querying servers...' 'Watcher Sounds' 'Keeps your mods' 'More &gt;&gt;' \
            'Game in progress...' 'no players' '&apos;%1&apos; is not a valid integer value' \
            'ZAM Executable not found! Select the correct ZAM executable.' '&amp;Quit without saving'; do
    grep -qF "$text" "$template" || { echo "not in the template: $text"; exit 1; }
done
echo "$(grep -c '<message>' "$template") texts in the template"
