#!/usr/bin/env bash
# Runs the watcher's on-top test ($1) on its own Xvfb display with a window
# manager that honours the above-others state, on the X11 platform the
# launcher picks in Wayland sessions.
set -euo pipefail
test_program=$1
for tool in Xvfb openbox xprop; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

display_file=$(mktemp)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; rm -f "$display_file"' EXIT
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.1
done
export DISPLAY=:$(cat "$display_file")
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
QT_QPA_PLATFORM=xcb "$test_program"
