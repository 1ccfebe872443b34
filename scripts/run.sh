#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it beside DATABASE
# (or beside a freshly made sample database when none is given).  The program
# takes no database on its command line: press Open (the chooser starts in the
# database's folder) or type the path into "Path:" and press Re-open.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo

database=${1:-}
if [[ -z $database ]]; then
    database=$root/build/sample/stock.mdb
    if [[ ! -f $database ]]; then
        mkdir -p "$(dirname "$database")"
        build/tools/rackbook-db demo "$database" --records 200 --seed 1
    fi
fi
database=$(realpath "$database")
folder=$(dirname "$database")
# The window icon is looked up as ./images/rackbook.ico in the working folder.
[[ -e $folder/images ]] || ln -s "$root/images" "$folder/images"

export ODBCSYSINI=$root/build/odbc
echo "Database: $database"
echo "Press Open and choose $(basename "$database"), or type the path into \"Path:\" and press Re-open."
cd "$folder"
exec "$root/build/src/rackbook"
