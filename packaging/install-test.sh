#!/usr/bin/env bash
# Checks `cmake --install` of a build tree without touching the system: the
# driver manager's configuration goes to a temporary ODBCSYSINI.
#   - a plain install into a prefix puts every file in place, writes the
#     desktop entry and the driver template for that prefix, and registers
#     the driver once (installing again does not count it twice), so that
#     isql reaches a database made by the installed tool;
#   - a staged install (DESTDIR) writes paths for the target prefix and
#     registers nothing.
# Usage: install-test.sh BUILD_DIR
set -uo pipefail
unset ODBCINSTINI

build=$(realpath "$1")
driver='Microsoft Access Driver (*.mdb)'
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failed=0

fail() {
    echo "FAILED: $*"
    failed=1
}
expect_file() { [[ -f $1 ]] || fail "missing $1"; }
# expect_line FILE LINE: FILE holds LINE exactly.
expect_line() { grep -qxF "$2" "$1" 2>/dev/null || fail "$1 lacks the line '$2'"; }
# usage_count SYSINI: the driver's UsageCount in SYSINI/odbcinst.ini, or none.
usage_count() {
    ODBCSYSINI=$1 odbcinst -q -d -n "$driver" 2>/dev/null | sed -n 's/^UsageCount=//p'
}

# --- plain install -------------------------------------------------------------

prefix=$tmp/usr
export ODBCSYSINI=$tmp/odbc
mkdir -p "$ODBCSYSINI"
cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1 || {
    cat "$tmp/install.log"
    fail "cmake --install failed"
}
library=$(find "$prefix" -path '*/odbc/libmdblite.so' | head -n 1)
[[ -n $library ]] || fail "no driver library under $prefix"
for file in bin/rackbook bin/rackbook-db share/man/man1/rackbook.1 share/man/man1/rackbook-db.1 \
    share/rackbook/images/rackbook.ico share/applications/rackbook.desktop \
    share/icons/hicolor/16x16/apps/rackbook.png share/icons/hicolor/32x32/apps/rackbook.png \
    share/icons/hicolor/48x48/apps/rackbook.png share/rackbook/mdblite-driver.ini; do
    expect_file "$prefix/$file"
done
desktop=$prefix/share/applications/rackbook.desktop
expect_line "$desktop" "Exec=rackbook"
expect_line "$desktop" "Path=$prefix/share/rackbook"
expect_line "$desktop" "Icon=rackbook"
expect_line "$prefix/share/rackbook/mdblite-driver.ini" "[$driver]"
expect_line "$prefix/share/rackbook/mdblite-driver.ini" "Driver = $library"
expect_line "$ODBCSYSINI/odbcinst.ini" "Driver=$library"
[[ $(usage_count "$ODBCSYSINI") == 1 ]] || fail "usage count after one install: '$(usage_count "$ODBCSYSINI")'"

cmake --install "$build" --prefix "$prefix" >"$tmp/install2.log" 2>&1 || fail "second cmake --install failed"
[[ $(usage_count "$ODBCSYSINI") == 1 ]] || fail "usage count after a second install: '$(usage_count "$ODBCSYSINI")'"

"$prefix/bin/rackbook-db" demo "$tmp/stock.mdb" --records 12 --seed 2 >/dev/null || fail "installed rackbook-db demo failed"
count=$(echo "SELECT COUNT(*) FROM StockTable" | isql -k -b -d, "DRIVER={$driver};DBQ=$tmp/stock.mdb" 2>&1 | tr -d '[:space:]')
[[ $count == 12 ]] || fail "isql through the registered driver counted '$count', not 12"

# --- staged install ------------------------------------------------------------

export ODBCSYSINI=$tmp/odbc-staged
mkdir -p "$ODBCSYSINI"
DESTDIR=$tmp/stage cmake --install "$build" --prefix /opt/rackbook >"$tmp/stage.log" 2>&1 || {
    cat "$tmp/stage.log"
    fail "staged cmake --install failed"
}
staged=$tmp/stage/opt/rackbook
expect_line "$staged/share/applications/rackbook.desktop" "Path=/opt/rackbook/share/rackbook"
staged_library=$(cd "$tmp/stage" && find . -path '*/odbc/libmdblite.so' | head -n 1)
expect_line "$staged/share/rackbook/mdblite-driver.ini" "Driver = ${staged_library#.}"
[[ -z $(usage_count "$ODBCSYSINI") ]] || fail "a staged install registered the driver"
[[ ! -e /opt/rackbook ]] || fail "a staged install wrote outside DESTDIR"

if ((failed)); then exit 1; fi
echo "install test: plain and staged installs as expected"
