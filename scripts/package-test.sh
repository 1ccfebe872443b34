#!/usr/bin/env bash
# Builds the Debian packages with CPack, installs them on this machine with
# dpkg and checks what a user gets: the commands, man pages, desktop entry and
# icons in place, the ODBC driver registered, a database made by the installed
# tool, read through the registered driver, and opened by the installed
# program started as its desktop entry starts it.  Then removes the packages
# and checks that nothing is left behind, the driver's entry included.
#
#     bash scripts/package-test.sh [BUILD_DIR]      (default: build; as root)
#
# Screenshots go to BUILD_DIR/package-test/.  The packages are removed again
# on every exit, failures included.  Runs of this script on one machine take
# turns (a lock), since they install the same packages.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build}")
driver='Microsoft Access Driver (*.mdb)'
packages=(rackbook rackbook-db)

passed=0
failed=0
tmp=""
app_pid=""
xvfb_pid=""
installed_by_us=0

ok() {
    echo "ok     - $1"
    passed=$((passed + 1))
}
not_ok() {
    echo "FAILED - $1"
    failed=$((failed + 1))
}
# check DESCRIPTION COMMAND...: runs the command, counts the result.
check() {
    local what=$1
    shift
    if "$@"; then ok "$what"; else not_ok "$what"; fi
}
# require DESCRIPTION COMMAND...: as check, but nothing after it makes sense
# when it fails, so the test stops (the exit trap still cleans up).
require() {
    local what=$1
    shift
    if "$@"; then ok "$what"; else
        not_ok "$what"
        exit 1
    fi
}

is_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}
# Not even partly installed, and no configuration files left.
is_absent() {
    local status
    status=$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null)
    [[ -z $status || $status == not-installed ]]
}
# The package's driver manager configuration is the system's, whatever the
# caller's environment says.
system_odbcinst() { env -u ODBCSYSINI -u ODBCINSTINI odbcinst "$@"; }
driver_registered() { system_odbcinst -q -d -n "$driver" >/dev/null 2>&1; }
driver_listed() { system_odbcinst -q -d | grep -qxF "[$driver]"; }
not() { ! "$@"; }
depends_of() { dpkg-deb -f "$1" Depends; }
# depends_on DEB PATTERN: the package's Depends field names a matching package.
depends_on() { depends_of "$1" | tr ',' '\n' | sed 's/^ *//; s/[ (].*//' | grep -Eqx "$2"; }

cleanup() {
    local status=$?
    if [[ -n $app_pid ]] && kill -0 "$app_pid" 2>/dev/null; then kill "$app_pid"; fi
    if [[ -n $xvfb_pid ]] && kill -0 "$xvfb_pid" 2>/dev/null; then kill "$xvfb_pid"; fi
    if ((installed_by_us)); then
        for p in "${packages[@]}"; do
            if dpkg-query -W "$p" >/dev/null 2>&1; then
                echo "cleaning up: removing $p"
                dpkg --purge "$p" >/dev/null 2>&1 || true
            fi
        done
    fi
    [[ -n $tmp ]] && rm -rf "$tmp"
    if ((status != 0 && failed == 0)); then not_ok "the test stopped early (status $status)"; fi
    echo "package test: $passed passed, $failed failed"
    if ((failed > 0 || status != 0)); then exit 1; fi
    exit 0
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# --- preconditions ------------------------------------------------------------

require "running as root (dpkg installs the packages)" test "$(id -u)" -eq 0
exec 9>/run/lock/rackbook-package-test.lock
flock 9
for p in "${packages[@]}"; do
    require "$p is not installed before the test" is_absent "$p"
done
require "no driver registered as $driver before the test" not driver_registered
odbcinst_before=$(cat /etc/odbcinst.ini 2>/dev/null || true)
tmp=$(mktemp -d /tmp/rackbook-package-test.XXXXXX)
shots=$build/package-test
mkdir -p "$shots"

# --- build the packages -------------------------------------------------------

require "the build in $build is up to date" \
    bash -c "bash '$root/scripts/build.sh' '$build' >'$tmp/build.log' 2>&1 || { tail -n 40 '$tmp/build.log'; false; }"
rm -rf "$build/packages"
require "cpack writes the Debian packages" \
    bash -c "cd '$build' && cpack -G DEB -B '$build/packages' >'$tmp/cpack.log' 2>&1 || { cat '$tmp/cpack.log'; false; }"
deb_of() { compgen -G "$build/packages/$1_*.deb" | head -n 1; }
for p in "${packages[@]}"; do
    require "package file for $p" test -f "$(deb_of "$p")"
done
rackbook_deb=$(deb_of rackbook)
tool_deb=$(deb_of rackbook-db)

check "rackbook depends on odbcinst (its scripts register the driver)" depends_on "$rackbook_deb" odbcinst
check "rackbook depends on the unixODBC driver manager library" depends_on "$rackbook_deb" libodbc2
check "rackbook does not depend on the mdbtools library" not depends_on "$rackbook_deb" 'libmdb.*'
check "rackbook-db depends on the mdbtools library (import-mdb)" depends_on "$tool_deb" libmdb3
check "rackbook ships no odbcinst.ini of its own" \
    bash -c "! dpkg-deb -c '$rackbook_deb' | grep 'etc/odbcinst.ini' >/dev/null"

# --- install --------------------------------------------------------------------

installed_by_us=1
if ! dpkg -i "$tool_deb" "$rackbook_deb" >"$tmp/dpkg.log" 2>&1; then
    echo "dpkg -i left dependencies open; apt-get -f install:"
    DEBIAN_FRONTEND=noninteractive apt-get -f install -y -qq >>"$tmp/dpkg.log" 2>&1
fi
for p in "${packages[@]}"; do
    is_installed "$p" || cat "$tmp/dpkg.log"
    require "$p is installed" is_installed "$p"
done

check "rackbook is on the PATH" test -x "$(command -v rackbook)"
check "rackbook-db is on the PATH" test -x "$(command -v rackbook-db)"
check "rackbook ships the man page rackbook(1)" bash -c "dpkg-deb -c '$rackbook_deb' | grep ' ./usr/share/man/man1/rackbook.1$' >/dev/null"
check "rackbook-db ships the man page rackbook-db(1)" bash -c "dpkg-deb -c '$tool_deb' | grep ' ./usr/share/man/man1/rackbook-db.1$' >/dev/null"
if command -v man >/dev/null; then
    check "man finds rackbook(1)" bash -c "man -w rackbook >/dev/null 2>&1"
    check "man finds rackbook-db(1)" bash -c "man -w rackbook-db >/dev/null 2>&1"
fi
desktop=/usr/share/applications/rackbook.desktop
require "desktop entry $desktop" test -f "$desktop"
if command -v desktop-file-validate >/dev/null; then
    check "the desktop entry is valid" desktop-file-validate "$desktop"
fi
entry_key() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
working_folder=$(entry_key Path)
command_line=$(entry_key Exec)
icon_name=$(entry_key Icon)
check "the desktop entry starts rackbook" test "$command_line" = rackbook
check "the desktop entry's working folder holds images/rackbook.ico" test -f "$working_folder/images/rackbook.ico"
for size in 16 32 48; do
    png=/usr/share/icons/hicolor/${size}x${size}/apps/$icon_name.png
    check "hicolor icon ${size}x${size}" \
        bash -c "[[ \$(identify -format '%wx%h' '$png' 2>/dev/null) == ${size}x${size} ]]"
done

# --- the driver ---------------------------------------------------------------

check "odbcinst -q -d lists $driver" driver_listed
library=$(system_odbcinst -q -d -n "$driver" 2>/dev/null | sed -n 's/^[[:space:]]*Driver[[:space:]]*=[[:space:]]*//p')
check "the registered driver library belongs to the rackbook package" \
    bash -c "[[ -f '$library' ]] && dpkg -S '$library' 2>/dev/null | grep -q '^rackbook:'"

usage_count() { system_odbcinst -q -d -n "$driver" 2>/dev/null | sed -n 's/^UsageCount=//p'; }
check "the driver is registered once (UsageCount $(usage_count))" test "$(usage_count)" = 1
# Reinstalling runs the old prerm (unregister) and the new postinst
# (register): the count must stay at one, or removal would leave the entry.
dpkg -i "$rackbook_deb" >"$tmp/reinstall.log" 2>&1
check "after reinstalling rackbook the driver is still registered once (UsageCount $(usage_count))" \
    test "$(usage_count)" = 1

database=$tmp/stock.mdb
require "the installed rackbook-db makes a demo database" \
    bash -c "rackbook-db demo '$database' --records 40 --seed 5 >'$tmp/demo.log' 2>&1 && test -f '$database'"
count=$(echo "SELECT COUNT(*) FROM StockTable" |
    env -u ODBCSYSINI -u ODBCINSTINI isql -k -b -d, "DRIVER={$driver};DBQ=$database" 2>&1 | tr -d '[:space:]')
check "isql reads the demo database through the registered driver (40 records, got '$count')" test "$count" = 40

# --- the program, started as its desktop entry starts it ----------------------

exec 8>"$tmp/display"
Xvfb -displayfd 8 -screen 0 1280x800x24 -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 8>&-
for _ in $(seq 100); do
    [[ -s $tmp/display ]] && break
    sleep 0.1
done
require "Xvfb started" test -s "$tmp/display"
export DISPLAY=:$(head -n 1 "$tmp/display")

(cd "$working_folder" && exec env -u ODBCSYSINI -u ODBCINSTINI "$command_line" >"$tmp/stdout" 2>"$tmp/stderr") &
app_pid=$!
window=""
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Rackbook' 2>/dev/null | head -n 1)
    [[ -n $window ]] && break
    sleep 0.2
done
require "the main window \"Rackbook, ...\" appears" test -n "$window"
import -window "$window" "$shots/started.png" 2>/dev/null
check "the window has the icon from the working folder" \
    bash -c "xprop -id '$window' _NET_WM_ICON | grep -q 'Icon (16 x 16)'"

# Opens the demo database as a user does: its path typed into "Path:", and
# the field left with Tab.  The listing area fills with records once the
# program has gone through the registered driver; a failing step would show
# an alert (a second, modal window) before the listing.
table_colours() {
    import -window "$window" "$tmp/window.png" 2>/dev/null &&
        convert "$tmp/window.png" -crop 990x470+12+115 +repage -format '%k' info:
}
blank_colours=$(table_colours)
xdotool mousemove --window "$window" 300 709 click 1
xdotool type --delay 5 "$database"
xdotool key Tab
listed=0
for _ in $(seq 150); do
    colours=$(table_colours)
    if [[ -f $tmp/backup/stock.mdb && $colours -gt $((blank_colours + 10)) ]]; then
        listed=1
        break
    fi
    sleep 0.2
done
import -window "$window" "$shots/opened.png" 2>/dev/null
check "opening the database makes the backup copy beside it" test -f "$tmp/backup/stock.mdb"
check "opening the database lists its records (screenshot $shots/opened.png)" test "$listed" = 1
alerts=$(xdotool search --onlyvisible --class FLTK 2>/dev/null | grep -vx "$window")
for alert in $alerts; do
    import -window "$alert" "$shots/alert-$alert.png" 2>/dev/null
done
check "no alert on opening (see $shots/alert-*.png)" test -z "$alerts"

xdotool mousemove --window "$window" 1071 717 click 1 # "Exit"
for _ in $(seq 50); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.2
done
if kill -0 "$app_pid" 2>/dev/null; then
    not_ok "Exit ends the program"
else
    wait "$app_pid"
    check "Exit ends the program with status 0" test $? -eq 0
fi
app_pid=""
kill "$xvfb_pid" 2>/dev/null
xvfb_pid=""

# --- remove ---------------------------------------------------------------------

check "dpkg --purge removes both packages" bash -c "dpkg --purge ${packages[*]} >'$tmp/purge.log' 2>&1 || { cat '$tmp/purge.log'; false; }"
installed_by_us=0
for p in "${packages[@]}"; do
    check "$p is gone" is_absent "$p"
done
check "no driver entry is left behind" not driver_registered
check "odbcinst -q -d no longer lists $driver" not driver_listed
check "/etc/odbcinst.ini is as it was before the test" \
    bash -c "[[ \"\$(cat /etc/odbcinst.ini 2>/dev/null || true)\" == \"\$1\" ]]" _ "$odbcinst_before"
for path in /usr/bin/rackbook /usr/bin/rackbook-db "$library" "$desktop" "$working_folder" \
    /usr/share/icons/hicolor/48x48/apps/rackbook.png; do
    check "$path is removed" test ! -e "$path"
done
