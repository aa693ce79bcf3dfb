#!/usr/bin/env bash
# Takes pictures of the launcher's windows as the demo (tools/demo) shows
# them, on a virtual X display, with a light and a dark desktop theme:
#   tools/screenshots.sh [OUTDIR] [POINTS]
# writes OUTDIR/{main,browser,watcher}-{light,dark}.png (default
# docs/screenshots, the pictures the README shows) at a desktop font of
# POINTS points (default 9). ZAM_SHOT_WINDOWS=all adds the mods and servers
# editors, the options dialog and the About box. Needs xvfb, openbox,
# xdotool, imagemagick and qt6ct; the launcher must be built (./run builds).
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs/screenshots}")
points=${2:-9}
mkdir -p "$out"

work=$(mktemp -d "${TMPDIR:-/tmp}/zam-shots.XXXXXX")
pids=()
cleanup() {
    [ ${#pids[@]} -gt 0 ] && kill "${pids[@]}" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A display of its own, and a window manager that gives windows their frames
# and the keyboard focus.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
until [ -s "$work/display" ]; do sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

# qt6ct's settings: the Fusion style with its own light palette, or qt6ct's
# "darker" scheme, and the desktop font at the size asked for.
desktop() { # theme
    local dir=$work/desktop-$1
    mkdir -p "$dir/qt6ct"
    {
        printf '[Appearance]\nstyle=Fusion\nstandard_dialogs=default\n'
        if [ "$1" = dark ]; then
            printf 'custom_palette=true\ncolor_scheme_path=/usr/share/qt6ct/colors/darker.conf\n'
        else
            printf 'custom_palette=false\n'
        fi
        printf '[Fonts]\ngeneral="DejaVu Sans,%s,-1,5,50,0,0,0,0,0"\n' "$points"
        printf 'fixed="DejaVu Sans Mono,%s,-1,5,50,0,0,0,0,0"\n' "$points"
    } >"$dir/qt6ct/qt6ct.conf"
    echo "$dir"
}

window() { # title: the id of the visible window with that title
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
        [ -n "$id" ] && { echo "$id"; return; }
        sleep 0.1
    done
    echo "no window '$1'" >&2
    return 1
}

shoot() { # title file
    local id
    id=$(window "$1")
    xdotool windowactivate --sync "$id" 2>/dev/null || true
    sleep 0.7
    import -window "$id" -frame "$work/shot.png"
    # Fewer colours keep the pictures small; the texts stay sharp.
    convert "$work/shot.png" +dither -colors 32 -strip "PNG8:$out/$2.png"
}

close() { # title: closes the window as its title bar's close box does
    wmctrl -i -c "$(window "$1")"
    sleep 0.5
}

keys() { # title keys...: sends keys to the window with that title
    local id
    id=$(window "$1")
    shift
    xdotool windowactivate --sync "$id" 2>/dev/null || true
    xdotool key --clearmodifiers --delay 150 "$@"
}

for theme in light dark; do
    ZAM_DEMO_DESKTOP=$(desktop $theme) QT_QPA_PLATFORMTHEME=qt6ct \
        ZAM_DEMO_PORT=$((24400 + RANDOM % 500 * 10)) tools/demo/run-demo.sh >"${ZAM_SHOT_LOG:-/dev/null}" 2>&1 &
    demo=$!
    window "ZAM Launcher v2.16.*" >/dev/null
    sleep 1
    shoot "ZAM Launcher v2.16.*" "main-$theme"
    if [ "${ZAM_SHOT_WINDOWS:-}" = all ]; then
        keys "ZAM Launcher v2.16.*" alt+o m
        shoot Modifications "mods-$theme"
        keys Modifications Escape
        keys "ZAM Launcher v2.16.*" alt+o s
        shoot Servers "servers-$theme"
        close Servers
        keys "ZAM Launcher v2.16.*" alt+o o
        shoot Options "options-$theme"
        close Options
        keys "ZAM Launcher v2.16.*" alt+o Right Return
        shoot About "about-$theme"
        close About
    fi
    # "&Start singleplayer" shares the mnemonic: the second Alt+S focuses
    # "MP: &Server list", which the space bar presses.
    keys "ZAM Launcher v2.16.*" alt+s alt+s space
    # The first sweep starts half a second after the browser opens.
    sleep 3
    shoot Servers "browser-$theme"
    keys Servers alt+w
    sleep 2
    shoot "Server Watcher" "watcher-$theme"
    if [ "${ZAM_SHOT_WINDOWS:-}" = all ]; then
        # The watcher opens with the focus on "More >>".
        keys "Server Watcher" space
        shoot "Server Watcher" "watcher-expanded-$theme"
    fi
    close "Server Watcher"
    close "ZAM Launcher v2.16.*"
    wait "$demo" || true
done
ls -l "$out"
