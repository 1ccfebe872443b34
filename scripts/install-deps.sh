#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
set -euo pipefail
packages=(
    build-essential cmake pkg-config clang libclang-rt-14-dev
    libfltk1.3-dev fltk1.3-doc
    unixodbc unixodbc-dev odbcinst
    libsqlite3-dev sqlite3
    libmdb3 mdbtools-dev mdbtools
    libgtest-dev googletest
    xvfb xauth xfonts-base xdotool x11-utils imagemagick
    python3 python3-pyodbc
    dpkg-dev file desktop-file-utils
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
