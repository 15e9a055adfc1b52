#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Qt 6.4.2 (Base with the SQLite driver, Serial Port) for 64-bit Windows with MinGW-w64, once.
# Sources: Qt Base and SQLite from Debian's source packages, Qt Serial Port from third_party/.
# The result goes to $MK_QT_WIN (default ~/.cache/mkconf/qt-6.4.2-mingw64-r<recipe>), outside the
# clone, and is built once per recipe version. Prints the prefix on its last line.
# A result built before, qt-6.4.2-mingw64-r<recipe>.tar.xz in the folder "shared/qt-windows" beside
# the clone ($MK_QT_WIN_ARCHIVES names another folder), is unpacked instead of building.
#   --prefix   only print where the result is (or would be), build nothing
#   --unpack   unpack that archive when the result is missing, build nothing; fails when there is
#              still no complete result
set -euo pipefail
here=$(cd -P "$(dirname "$0")" && pwd)
root=$(cd -P "$here/../.." && pwd)
# Bump by hand when what is built changes (configure options, sources, toolchain file): an edit
# that changes nothing built must not cost a fifty-minute rebuild.
recipe=1
name=qt-6.4.2-mingw64-r$recipe
cache=${XDG_CACHE_HOME:-$HOME/.cache}/mkconf
prefix=${MK_QT_WIN:-$cache/$name}
archive=${MK_QT_WIN_ARCHIVES:-$(dirname "$root")/shared/qt-windows}/$name.tar.xz
if [ "${1:-}" = "--prefix" ]; then echo "$prefix"; exit 0; fi
if [ -f "$prefix/.complete" ]; then echo "$prefix"; exit 0; fi

# The archive holds the folder $name with its .complete marker. It is unpacked beside the prefix
# and moved into place only when whole, so an interrupted unpack never looks like a result.
unpack() {
    [ -f "$archive" ] || return 1
    local parent
    parent=$(dirname "$prefix")
    [ -d "$parent" ] || mkdir -p -m 700 "$parent"
    local tmp
    tmp=$(mktemp -d "$parent/.unpack-XXXXXX")
    echo "Unpacking Qt for Windows (recipe $recipe) from $archive" >&2
    if tar -xJf "$archive" -C "$tmp" && [ -f "$tmp/$name/.complete" ]; then
        rm -rf "$prefix"
        mv "$tmp/$name" "$prefix"
        rm -rf "$tmp"
        return 0
    fi
    rm -rf "$tmp"
    echo "$archive did not unpack into a complete $name (no .complete marker)" >&2
    return 1
}
if unpack; then echo "$prefix"; exit 0; fi
if [ "${1:-}" = "--unpack" ]; then
    echo "No Qt for Windows in $prefix, and no archive of recipe $recipe at $archive" >&2
    exit 1
fi

sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
packages=(g++-mingw-w64-x86-64-posix dpkg-dev tcl cmake ninja-build qt6-base-dev qt6-base-dev-tools xz-utils)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# apt-get source needs a deb-src entry; it goes in a file of its own.
srclist=/etc/apt/sources.list.d/mkconf-deb-src.sources
if [ ! -f "$srclist" ]; then
    printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm bookworm-updates\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' |
        $sudo tee "$srclist" >/dev/null
    missing+=(apt-update)
fi
if [ ${#missing[@]} -gt 0 ]; then
    $sudo apt-get update -qq
    pk=(); for p in "${missing[@]}"; do [ "$p" = apt-update ] || pk+=("$p"); done
    [ ${#pk[@]} -eq 0 ] || DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${pk[@]}"
fi

work=$cache/qt-win-work
# The cache folder is mkconf's own and private: the configurator may keep its lock there too.
[ -d "$cache" ] || mkdir -p -m 700 "$cache"
rm -rf "$work"; mkdir -p "$work"; cd "$work"
echo "Fetching Qt Base and SQLite sources from Debian into $work"
apt-get source -qq qt6-base sqlite3 >/dev/null
qtbase=$(find . -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)
sqlite=$(find . -maxdepth 1 -type d -name 'sqlite3-*' | head -n1)
# Debian's Qt Base carries no bundled SQLite: make the amalgamation where Qt's driver expects it.
(cd "$sqlite" && ./configure -q >/dev/null && make -s sqlite3.c >/dev/null)
mkdir -p "$qtbase/src/3rdparty/sqlite"
cp "$sqlite/sqlite3.c" "$sqlite/sqlite3.h" "$qtbase/src/3rdparty/sqlite/"
[ -f "$sqlite/sqlite3ext.h" ] && cp "$sqlite/sqlite3ext.h" "$qtbase/src/3rdparty/sqlite/"

jobs=$(nproc)
echo "Configuring Qt Base for Windows"
cmake -G Ninja -S "$qtbase" -B build-qtbase \
    -DCMAKE_TOOLCHAIN_FILE="$here/mingw64-toolchain.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake -DQT_FORCE_FIND_TOOLS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_vulkan=OFF -DFEATURE_printsupport=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_tabletevent=OFF \
    -DFEATURE_sql=ON -DFEATURE_sql_sqlite=ON -DFEATURE_system_sqlite=OFF \
    -DFEATURE_sql_odbc=OFF -DFEATURE_sql_psql=OFF -DFEATURE_sql_mysql=OFF -DFEATURE_sql_ibase=OFF \
    -DFEATURE_sql_oci=OFF -DFEATURE_sql_db2=OFF \
    >configure-qtbase.log
echo "Building Qt Base (about 950 steps; 40 minutes or more on two cores)"
cmake --build build-qtbase -j "$jobs" >build-qtbase.log
cmake --install build-qtbase >/dev/null

echo "Building Qt Serial Port"
tar -xf "$root/third_party/qtserialport-everywhere-src-6.4.2.tar.xz"
cmake -G Ninja -S qtserialport-everywhere-src-6.4.2 -B build-qtserialport \
    -DCMAKE_TOOLCHAIN_FILE="$here/mingw64-toolchain.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF >configure-qtserialport.log
cmake --build build-qtserialport -j "$jobs" >build-qtserialport.log
cmake --install build-qtserialport >/dev/null

# The licences of what the Windows packages carry.
mkdir -p "$prefix/licenses/qtbase" "$prefix/licenses/qtserialport"
cp "$qtbase"/LICENSES/* "$prefix/licenses/qtbase/" 2>/dev/null || cp "$qtbase"/LICENSE.* "$prefix/licenses/qtbase/"
cp qtserialport-everywhere-src-6.4.2/LICENSES/* "$prefix/licenses/qtserialport/"
printf 'SQLite is in the public domain (https://www.sqlite.org/copyright.html).\n' >"$prefix/licenses/sqlite.txt"
cp "$sqlite/VERSION" "$prefix/licenses/sqlite-version.txt" 2>/dev/null || true
touch "$prefix/.complete"
rm -rf "$work"
echo "$prefix"
