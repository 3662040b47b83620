#!/usr/bin/env bash
# Two launchers on one Wine prefix, neither with a display: the first makes the prefix
# private, the second opens its editor beside the first, and ending it (or its launcher)
# leaves the first editor running with its text. Then the first launcher ends what it
# started, its Xvfb included.
# Usage: tests/e2e/launcher_test.sh WINDOWS_BUILD_DIR   (the prefix is its e2e-prefix)
set -u
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=$(cd "${1:?usage: launcher_test.sh WINDOWS_BUILD_DIR}" && pwd)
# shellcheck source=../../scripts/wine_env.sh
source "$ROOT/scripts/wine_env.sh"
LOGS="$BUILD/artifacts/launcher"
mkdir -p "$LOGS"
export NIVRANO_PREFIX="$BUILD/e2e-prefix" NIVRANO_NO_PRINT_QUEUE=1
nv_prepare_prefix "$NIVRANO_PREFIX" || exit 2

fail() {
    echo "FAIL launcher: $*"
    exit 1
}
first= second=
cleanup() {
    for pid in $second $first; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
}
trap cleanup EXIT

# Waits up to $1 seconds for the command after it to succeed.
within() {
    local t=$(($1 * 10))
    shift
    while [ $t -gt 0 ]; do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
        t=$((t - 1))
    done
    return 1
}
on() { DISPLAY=$SCREEN "$@"; }
windows_named() { on xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }
shown() { [ "$(windows_named "$1")" -ge "${2:-1}" ]; }

# The first editor, with text typed into it, on a prefix others could enter: the launcher
# makes it private and says so. The hint the launcher prints accepts the agreement.
chmod 755 "$NIVRANO_PREFIX"
env -u DISPLAY "$ROOT/nivrano" >"$LOGS/first.log" 2>&1 &
first=$!
within 60 grep -q 'running on Xvfb' "$LOGS/first.log" || fail "no Xvfb: $(cat "$LOGS/first.log")"
SCREEN=$(sed -n 's/.*running on Xvfb \(:[0-9]*\).*/\1/p' "$LOGS/first.log")
hint=$(sed -n 's/.*(xdotool can type and click there: DISPLAY=[^ ]* \(xdotool [^)]*\) accepts.*/\1/p' "$LOGS/first.log")
[ -n "$hint" ] || fail "no xdotool hint in: $(cat "$LOGS/first.log")"
within 30 shown 'Nivrano User Agreement' || fail "the first editor showed no agreement"
[ "$(stat -c %a "$NIVRANO_PREFIX")" = 700 ] ||
    fail "the prefix is $(stat -c %a "$NIVRANO_PREFIX"), not private (700)"
grep -q "other users could enter the Wine prefix $NIVRANO_PREFIX (mode 755)" "$LOGS/first.log" ||
    fail "the launcher did not say that the prefix was open to others: $(cat "$LOGS/first.log")"
sleep 0.5
on $hint
within 10 shown '^Nivrano$' || fail "the hint \"$hint\" did not accept the agreement"
sleep 0.5
on xdotool type --delay 50 abc

# The second launcher joins the first editor's display; nothing of the first is ended.
env -u DISPLAY "$ROOT/nivrano" >"$LOGS/second.log" 2>&1 &
second=$!
within 60 shown 'Nivrano User Agreement' || fail "the second editor showed no agreement: $(cat "$LOGS/second.log")"
grep -q "opens beside it on display $SCREEN" "$LOGS/second.log" ||
    fail "the second launcher said: $(cat "$LOGS/second.log")"
kill "$second"
wait "$second"
second=
within 10 eval '! shown "Nivrano User Agreement"' || fail "the second editor did not end with its launcher"
shown '^Nivrano$' || fail "the first editor's window went away"
kill -0 "$first" 2>/dev/null || fail "the first launcher ended: $(cat "$LOGS/first.log")"

# The first editor still has its text: closing it asks to save.
on xdotool mousemove 450 600 click 1
sleep 0.3
on xdotool key alt+F4
within 10 shown 'Save Current File\?' || fail "closing the first editor asked nothing: its text is gone"

# Its launcher ends what it started: the editor, then its Xvfb; Wine's own messages stayed
# out of the console.
kill "$first"
wait "$first"
first=
within 20 eval '! nv_wine_environment "$NIVRANO_PREFIX"; ! nv_prefix_server' ||
    fail "the prefix's Wine server still runs after the first launcher ended"
within 10 eval '! DISPLAY=$SCREEN xdpyinfo' || fail "the launcher's Xvfb $SCREEN still runs"
noise=$(grep -hv '^nivrano: ' "$LOGS/first.log" "$LOGS/second.log")
[ -z "$noise" ] || fail "the console showed: $noise"
echo "PASS launcher"
