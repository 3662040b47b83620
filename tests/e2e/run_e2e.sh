#!/usr/bin/env bash
# Runs the end-to-end scenarios against nivrano.exe under Wine (and Xvfb when there is no
# display). Usage: tests/e2e/run_e2e.sh WINDOWS_BUILD_DIR [SCENARIO...]
# Prints PASS/FAIL per scenario and the totals; exits non-zero when any scenario failed.
set -u
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=$(cd "${1:?usage: run_e2e.sh WINDOWS_BUILD_DIR [SCENARIO...]}" && pwd)
shift
# shellcheck source=../../scripts/wine_env.sh
source "$ROOT/scripts/wine_env.sh"

EXE="$BUILD/app/win32/nivrano.exe"
DRIVER="$BUILD/tests/e2e/nivrano_e2e.exe"
ARTIFACTS="$BUILD/artifacts"
TIMEOUT=${NIVRANO_E2E_TIMEOUT:-90}
for f in "$EXE" "$DRIVER"; do
    [ -f "$f" ] || { echo "missing $f (build the Windows targets first)"; exit 2; }
done
mkdir -p "$ARTIFACTS"

# Requests of the driver for what only a Linux program on the display can do. The driver
# writes host-request in the artifacts folder (a verb on the first line, data after it) and
# waits for host-reply ("ok" or an error on the first line, data after it):
#   clipboard-get  the CLIPBOARD selection as UTF-8, read by xclip;
#   clipboard-set  the data offered as the CLIPBOARD selection by an xclip that runs until
#                  another program takes the selection or the scenario ends;
#   sh             the data run as a bash script in the artifacts folder (links, modes,
#                  attributes, processes: what Win32 under Wine cannot do); its output.
REQUEST="$ARTIFACTS/host-request"
xclip_pid=
stop_xclip() {
    [ -n "$xclip_pid" ] && kill "$xclip_pid" 2>/dev/null && wait "$xclip_pid" 2>/dev/null
    xclip_pid=
}
answer_host_request() {
    local verb data="$ARTIFACTS/host-data" reply="$ARTIFACTS/host-reply.tmp" _
    verb=$(head -n 1 "$REQUEST")
    tail -n +2 "$REQUEST" >"$data"
    rm -f "$REQUEST"
    case $verb in
    clipboard-get)
        if timeout 5 xclip -o -selection clipboard >"$data.out" 2>/dev/null; then
            { echo ok; cat "$data.out"; } >"$reply"
        else
            echo "xclip -o failed" >"$reply"
        fi
        ;;
    clipboard-set)
        stop_xclip
        xclip -quiet -selection clipboard -i "$data" >/dev/null 2>&1 &
        xclip_pid=$!
        echo "xclip did not take the selection" >"$reply"
        for _ in $(seq 100); do
            if timeout 5 xclip -o -selection clipboard 2>/dev/null | cmp -s - "$data"; then
                echo ok >"$reply"
                break
            fi
            sleep 0.05
        done
        ;;
    sh)
        if (cd "$ARTIFACTS" && timeout 30 bash "$data" >"$data.out" 2>"$data.err" </dev/null); then
            { echo ok; cat "$data.out"; } >"$reply"
        else
            { echo "the script failed:"; cat "$data.err"; } >"$reply"
        fi
        ;;
    *) echo "unknown request: $verb" >"$reply" ;;
    esac
    mv "$reply" "$ARTIFACTS/host-reply"
}

# Wine takes the Hebrew code page and keyboard from the locale, which run-tests makes too.
nv_ensure_locale || exit 2
nv_ensure_display || exit 2
# A printer of its own for this build folder, whose output is a file; set up before the
# Wine server starts, which takes its printers from CUPS once.
PRINT_OUTPUT="$BUILD/print/output.ps"
nv_ensure_print_queue "nivrano-$(printf %s "$BUILD" | cksum | cut -d' ' -f1)" "$PRINT_OUTPUT" ||
    PRINT_OUTPUT=
cleanup() {
    stop_xclip
    wineserver -k >/dev/null 2>&1
    [ -n "${NIVRANO_XVFB_PID:-}" ] && kill "$NIVRANO_XVFB_PID" 2>/dev/null
}
trap cleanup EXIT
nv_prepare_prefix "$BUILD/e2e-prefix" || exit 2
wineserver -p >/dev/null 2>&1  # one server for all scenarios: each start is then quick

winpath() { winepath -w "$1" 2>/dev/null; }
EXE_W=$(winpath "$EXE")
ARTIFACTS_W=$(winpath "$ARTIFACTS")
[ -n "$PRINT_OUTPUT" ] && export NIVRANO_E2E_PRINT_OUTPUT=$(winpath "$PRINT_OUTPUT")

# The driver lists each scenario with the Wine debug channels it reads (if any).
declare -A debug_channels
scenarios=()
while read -r name channels; do
    [ -n "$name" ] || continue
    debug_channels[$name]=$channels
    scenarios+=("$name")
done < <(wine "$DRIVER" --list 2>/dev/null | tr -d '\r')
[ $# -gt 0 ] && scenarios=("$@")
if [ ${#scenarios[@]} -eq 0 ]; then
    echo "FAIL the driver listed no scenarios"
    echo "e2e: 0 passed, 1 failed"
    exit 1
fi

# Runs one scenario; its result line (PASS or FAIL ...) in $result.
run_scenario() {
    local scenario=$1
    local trace="$ARTIFACTS/$scenario.trace"
    local output="$ARTIFACTS/$scenario.out"
    local channels=${debug_channels[$scenario]:-}
    rm -f "$REQUEST" "$ARTIFACTS/host-reply"
    local expectations="$ARTIFACTS/$scenario.expect"  # written by scenarios that print
    rm -f "$expectations"
    WINEDEBUG=${channels:--all} timeout -k 5 "$TIMEOUT" wine "$DRIVER" "$scenario" "$EXE_W" \
        "$ARTIFACTS_W" "$(winpath "$trace")" >"$output" 2>"$trace" &
    local driver=$!
    while kill -0 "$driver" 2>/dev/null; do
        [ -f "$REQUEST" ] && answer_host_request
        sleep 0.05
    done
    wait "$driver"
    local status=$?
    stop_xclip
    if [ $status -eq 0 ] && [ -f "$expectations" ]; then
        /usr/bin/python3 "$ROOT/tests/e2e/check_printout.py" "$expectations" \
            "$ARTIFACTS/$scenario.ps" "$ARTIFACTS/$scenario" >>"$output" 2>&1 ||
            echo "FAIL $scenario: the printout $(grep -m1 '^differs: ' "$output" ||
                echo 'could not be checked')" >>"$output"
    fi
    tr -d '\r' <"$output" | grep -v '^\(PASS\|FAIL\) ' | sed 's/^/    /'
    if [ $status -eq 0 ] && grep -q "^PASS $scenario" "$output" && ! grep -q "^FAIL " "$output"; then
        result="PASS $scenario"
    else
        result=$(tr -d '\r' <"$output" | grep '^FAIL ' | head -1)
        [ $status -eq 124 ] && result="FAIL $scenario: timed out after ${TIMEOUT}s"
        result=${result:-FAIL $scenario: driver exit status $status}
        # A stuck editor must not disturb the next run.
        wineserver -k >/dev/null 2>&1
        wineserver -p >/dev/null 2>&1
    fi
}

# A scenario drives real windows on a shared machine, where a keystroke or a window can
# come late: one that fails runs once more, and both runs are reported.
passed=0
failed=0
second=0
for scenario in "${scenarios[@]}"; do
    run_scenario "$scenario"
    if [ "${result%% *}" = FAIL ]; then
        first=$result
        echo "RETRY $scenario after: $first"
        run_scenario "$scenario"
        if [ "${result%% *}" = PASS ]; then
            result="PASS $scenario (on its second run; the first: ${first#FAIL $scenario: })"
            second=$((second + 1))
        fi
    fi
    echo "$result"
    if [ "${result%% *}" = PASS ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
done

for bmp in "$ARTIFACTS"/*.bmp; do
    [ -f "$bmp" ] && convert "$bmp" "${bmp%.bmp}.png" 2>/dev/null && rm -f "$bmp"
done
echo "e2e: $passed passed ($second on a second run), $failed failed (artifacts in $ARTIFACTS)"
[ $failed -eq 0 ]
