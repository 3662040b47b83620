# Shared set-up for running nivrano.exe under Wine: packages, the Hebrew locale, a Wine
# prefix with the editor's fonts, and an X display. Sourced by ./nivrano, ./run-tests and
# tests/e2e/run_e2e.sh; every function is quick when its work is already done.

NIVRANO_ROOT=${NIVRANO_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}

# Debian packages for building and running under Wine (the native test build needs more).
NIVRANO_WINE_PACKAGES="wine wine64 g++-mingw-w64-x86-64 cmake make xvfb fonts-liberation2
 locales imagemagick xdotool python3-fonttools python3-munkres x11-utils xclip cups cups-client
 ghostscript"

nv_log() { echo "nivrano: $*" >&2; }

# Installs the packages that are missing (as root, with apt-get).
nv_ensure_packages() {
    local missing=() pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        nv_log "missing packages: ${missing[*]} (run as root, or install them with apt-get)"
        return 1
    fi
    nv_log "installing ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive apt-get update -q >/dev/null &&
        DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}" >/dev/null
}

# Wine takes the ANSI code page from the locale: he_IL.UTF-8 gives code page 1255, so typed
# Hebrew letters reach the editor as the bytes 0xE0 to 0xFA.
nv_ensure_locale() {
    locale -a 2>/dev/null | grep -qi '^he_IL\.utf-\?8$' && return 0
    if [ "$(id -u)" -ne 0 ]; then
        nv_log "the he_IL.UTF-8 locale is missing (as root: enable it in /etc/locale.gen, run locale-gen)"
        return 1
    fi
    if grep -q 'he_IL.UTF-8 UTF-8' /etc/locale.gen; then
        sed -i 's/^# *he_IL.UTF-8 UTF-8/he_IL.UTF-8 UTF-8/' /etc/locale.gen
    else
        echo 'he_IL.UTF-8 UTF-8' >>/etc/locale.gen
    fi
    locale-gen >/dev/null
}

# The environment every Wine command of the editor runs in. $1: the prefix folder.
nv_wine_environment() {
    export WINEPREFIX="$1"
    export WINEARCH=win64
    export WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES="mscoree,mshtml="
    # (bash warns when its own locale was loaded before locale-gen made this one)
    { export LANG=he_IL.UTF-8 LC_ALL=he_IL.UTF-8; } 2>/dev/null
}

# The prefix holds the copies the editor makes of the texts it saves and of changed
# documents, which Wine creates readable by everyone (0644, in folders of 0755): only the
# prefix folder itself can keep them private, so it is made its owner's alone (0700), and
# the console says so when others could enter it. $1: the prefix folder.
nv_make_prefix_private() {
    local mode
    mkdir -p "$(dirname "$1")" && mkdir -p -m 700 "$1" || return 1
    mode=$(stat -c %a "$1") || return 1
    chmod 700 "$1" 2>/dev/null
    if [ "$(stat -c %a "$1")" != 700 ]; then
        nv_log "the Wine prefix $1 can not be made private (mode $mode): other users may read the copies of your texts there"
    elif [ $((0$mode & 011)) -ne 0 ]; then
        nv_log "other users could enter the Wine prefix $1 (mode $mode); it is now private to you (700)"
    fi
    return 0
}

# Creates the prefix once (about 15 s) and keeps it: the fonts and the registry entries.
# $1: the prefix folder.
nv_prepare_prefix() {
    nv_wine_environment "$1"
    nv_make_prefix_private "$WINEPREFIX" || return 1
    local stamp="$WINEPREFIX/.nivrano-ready-2"
    [ -f "$stamp" ] && return 0
    nv_log "preparing the Wine prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || { nv_log "wineboot failed"; return 1; }
    wineserver -w

    # Copies of the Liberation fonts under the Windows names, so that "Courier New Bold"
    # and the other full names find their bold and italic faces (see README).
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    /usr/bin/python3 "$NIVRANO_ROOT/scripts/rename_fonts.py" \
        /usr/share/fonts/truetype/liberation2 "$fonts" || {
        nv_log "could not write the renamed fonts"
        return 1
    }
    local reg="$WINEPREFIX/nivrano-fonts.reg"
    {
        printf 'REGEDIT4\r\n\r\n'
        # Families of fonts that are missing are replaced; the renamed copies above
        # normally make these unnecessary, they keep regular faces right without them.
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
        printf '"Courier New"="Liberation Mono"\r\n'
        printf '"Arial"="Liberation Sans"\r\n'
        printf '"Times New Roman"="Liberation Serif"\r\n\r\n'
        # The full names: registered TrueType fonts of the prefix.
        printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts]\r\n'
        local f name
        for f in "$fonts"/nivrano-*.ttf; do
            name=$(basename "$f" .ttf)
            printf '"%s (TrueType)"="%s"\r\n' "$name" "$(basename "$f")"
        done
        printf '\r\n'
    } >"$reg"
    wine regedit "$reg" >/dev/null 2>&1
    wineserver -w
    touch "$stamp"
}

nv_cups_running() { LC_ALL=C lpstat -r 2>/dev/null | grep -q 'scheduler is running'; }

# Starts the local CUPS scheduler when it is not running (no systemd needed), with file
# devices allowed.
nv_start_cups() {
    local files=/etc/cups/cups-files.conf running=0 i
    nv_cups_running && running=1
    if ! grep -q '^FileDevice Yes' "$files"; then
        sed -i 's/^FileDevice .*//' "$files"
        echo 'FileDevice Yes' >>"$files"
        if [ $running -eq 1 ]; then  # make it read the configuration again
            if [ -d /run/systemd/system ]; then systemctl restart cups; else kill -HUP $(pidof cupsd); fi
            sleep 1
        fi
    fi
    if [ $running -eq 0 ]; then
        mkdir -p /run/cups
        cupsd || return 1
    fi
    for i in $(seq 50); do
        nv_cups_running && return 0
        sleep 0.1
    done
    nv_log "cupsd did not start"
    return 1
}

# A print queue of the local CUPS scheduler that writes what it prints to a file, made the
# default printer of every Wine process started afterwards: Wine takes its printers and the
# default one from CUPS when its server starts, and PRINTER names the default for this shell
# only, so that each build folder can have a queue of its own. As root.
# $1: queue name, $2: output file (absolute path).
nv_ensure_print_queue() {
    local queue=$1 output=$2
    if [ "$(id -u)" -ne 0 ]; then
        nv_log "setting up the print queue $queue needs root"
        return 1
    fi
    mkdir -p "$(dirname "$output")" /run/lock
    # One set-up at a time: build folders share the scheduler.
    (
        flock 9
        nv_start_cups || exit 1
        # (lpstat shows the device file:///x as ///x)
        if ! lpstat -v "$queue" 2>/dev/null | grep -q ":.*//$output\$"; then
            said=$(lpadmin -p "$queue" -E -v "file://$output" -m drv:///sample.drv/generic.ppd 2>&1) || {
                nv_log "could not add the print queue $queue: $said"
                exit 1
            }
        fi
        # A failed job stops a queue, and an old job must not write over the next printout.
        cupsenable "$queue" && cupsaccept "$queue" && cancel -a "$queue"
    ) 9>/run/lock/nivrano-cups.lock || return 1
    export PRINTER=$queue LPDEST=$queue
}

# Starts Xvfb on a free display when there is no display. Sets DISPLAY and NIVRANO_XVFB_PID.
nv_ensure_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
    local n=99
    while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    NIVRANO_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 50); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    nv_log "Xvfb did not start on $DISPLAY"
    return 1
}

# The process id of the Wine server that serves $WINEPREFIX, if one runs: it works in a
# folder named after the prefix's device and inode ("server-<dev>-<inode>", in hex).
nv_prefix_server() {
    local id p
    id=$(stat -c '%d %i' "$WINEPREFIX" 2>/dev/null) || return 1
    id=$(printf 'server-%x-%x' $id)
    for p in $(pgrep wineserver); do
        [ "$(basename "$(readlink "/proc/$p/cwd" 2>/dev/null)")" = "$id" ] && echo "$p" && return 0
    done
    return 1
}

# The X display a process was started on ("" when none). $1: the process id.
nv_display_of() { tr '\0' '\n' <"/proc/$1/environ" 2>/dev/null | sed -n 's/^DISPLAY=//p'; }

# Builds nivrano.exe (and the test driver) with mingw-w64. $1: the build folder.
nv_build_windows() {
    local dir="$1"
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S "$NIVRANO_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$NIVRANO_ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null || return 1
    fi
    cmake --build "$dir" -j2 -- --no-print-directory >/dev/null || cmake --build "$dir" -j1
}
