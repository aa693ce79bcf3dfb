#!/usr/bin/env bash
# Starts the launcher against a store of its own in a temporary folder: a few
# servers on 127.0.0.1 answered by a local status responder, a few mods, a game
# folder with two profiles, and a stand-in game that shows the command line it
# was started with. When the launcher exits, the responder and any stand-in game
# still open are stopped and the folder is removed.
# Called by `./run demo` after the build; ZAM_BUILD_DIR picks the build folder
# (default build), ZAM_DEMO_PORT the first game port (default 23400), and
# ZAM_DEMO_DESKTOP a folder copied into the demo's configuration folder (a
# desktop's settings for Qt, such as a qt6ct folder with a theme and a font).
set -euo pipefail
cd "$(dirname "$0")/../.."
bin=$PWD/${ZAM_BUILD_DIR:-build}/bin
port=${ZAM_DEMO_PORT:-23400}

demo=$(mktemp -d "${TMPDIR:-/tmp}/zam-demo.XXXXXX")
responder=
stop_demo() {
    local pids=()
    [ -n "$responder" ] && pids+=("$responder")
    [ -f "$demo/game.pids" ] && mapfile -t -O ${#pids[@]} pids <"$demo/game.pids"
    [ ${#pids[@]} -gt 0 ] && kill "${pids[@]}" 2>/dev/null || true
    [ -n "$responder" ] && wait "$responder" 2>/dev/null || true
    rm -rf "$demo"
}
trap stop_demo EXIT
trap 'exit 130' INT TERM HUP

# The game folder: profiles, mod folders and the stand-in game, a small script
# that notes its process id (so it can be stopped with the demo) and becomes
# the program that shows its arguments.
game=$demo/ZAM
mkdir -p "$game/users/Alice" "$game/users/Bob" "$game/winter" "$game/desert" "$game/nightops"
cat >"$game/zam-game" <<GAME
#!/bin/sh
echo \$\$ >>"$demo/game.pids"
exec "$bin/zam-demo-game" "\$@"
GAME
chmod +x "$game/zam-game"

# A server's section of the store: id, name, game port, password, mods, sockets.
server() {
    printf '[HKEY_CURRENT_USER\\Software\\ZAM Launcher2\\servers\\%s]\n' "$1"
    printf '"name"="%s"\n"ip"="127.0.0.1"\n"port"="%s"\n"pass"="%s"\n"mods"="%s"\n' "$2" "$3" "$4" "$5"
    printf '"sockets"=dword:0000000%s\n\n' "$6"
}
mod() {
    printf '[HKEY_CURRENT_USER\\Software\\ZAM Launcher2\\mods\\%s]\n' "$1"
    printf '"name"="%s"\n"dir"="%s"\n"checked"=dword:0000000%s\n\n' "$2" "$3" "$4"
}
mkdir -p "$demo/config/zam-launcher"
[ -n "${ZAM_DEMO_DESKTOP:-}" ] && cp -r "$ZAM_DEMO_DESKTOP"/. "$demo/config/"
{
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\ZAM Launcher2]\n'
    printf '"executable"="%s"\n' "$game/zam-game"
    printf '"nosplash"=dword:00000001\n"window"=dword:00000001\n"close"=dword:00000000\n'
    printf '"watchers"=dword:00000001\n"sound1"="none"\n"sound2"="none"\n\n'
    mod 1 "Winter maps" winter 1
    mod 2 "Desert campaign" desert 0
    mod 3 "Night operations" nightops 0
    server 11 "Full house" $((port)) "" "winter;" 1
    server 12 "Quiet valley" $((port + 2)) "" "" 1
    server 13 "Long match" $((port + 4)) "" "desert;" 1
    server 14 "Gone dark" $((port + 6)) "" "" 1
    server 15 "Night ops" $((port + 8)) "secret" "nightops;winter;" 0
    printf '[HKEY_CURRENT_USER\\Software\\ZAM Launcher2\\friends\\21]\n"name"="Heidi"\n\n'
    printf '[HKEY_LOCAL_MACHINE\\Software\\Harrowmede\\Operation Quellgrove]\n"MAIN"="%s"\n\n' "$game"
    printf '[HKEY_CURRENT_USER\\Software\\Harrowmede\\Operation Quellgrove]\n"Player Name"="Alice"\n'
} >"$demo/config/zam-launcher/registry.reg"

# The answers, one group per query port (game port + 1 for Sockets, + 2 for DirectPlay).
players() { # count: player_i and score_i for the first count names
    local names=(Bob Carol Dave Erin Frank Grace Heidi Ivan Judy Mallory) i text=
    for ((i = 0; i < $1; i++)); do text+="player_$i\\${names[i]}\\score_$i\\$((7 * i % 23))\\"; done
    printf '%s' "$text"
}
status() { # mission, players, max players, gstate
    printf '\\gametype\\%s\\numplayers\\%s\\maxplayers\\%s\\gstate\\%s\\%s' "$1" "$2" "$3" "$4" \
        "$(players "$2")"
}
# Full; empty until a minute has passed; a game that goes to "Debriefing" for
# half a minute after every one and a half minutes (for about half an hour);
# silent; DirectPlay and a little late.
long_match=()
for ((round = 0; round < 15; round++)); do
    long_match+=(--reply "$(status 'Ridge Assault' 6 10 14)" --then-after 90)
    long_match+=(--reply "$(status 'Ridge Assault' 6 10 9)" --then-after 30)
done
: >"$demo/responder.log"
"$bin/zam-status-responder" \
    --port $((port + 1)) --reply "$(status 'Coop Valley' 10 12 14)" \
    --port $((port + 3)) --reply "$(status 'Harbour Watch' 0 8 2)" \
    --then-after 60 --reply "$(status 'Harbour Watch' 4 8 6)" \
    --port $((port + 5)) "${long_match[@]}" --reply "$(status 'Ridge Assault' 6 10 14)" \
    --port $((port + 7)) --silent \
    --port $((port + 10)) --reply "$(status 'Moonless Crossing' 3 6 13)" --delay 120 \
    >"$demo/responder.log" &
responder=$!
until [ "$(grep -c listening "$demo/responder.log" || true)" -eq 5 ]; do
    if ! kill -0 "$responder" 2>/dev/null; then
        responder=
        echo "The status responder could not start; another ZAM_DEMO_PORT may help." >&2
        exit 1
    fi
    sleep 0.1
done

echo "Demo store: $demo/config/zam-launcher/registry.reg (removed when the launcher exits)"
XDG_CONFIG_HOME=$demo/config WINEPREFIX=$demo/wine "$bin/zam-launcher" "$@"
