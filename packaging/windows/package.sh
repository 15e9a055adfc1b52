#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the Windows packages from a cross-built tree:
#   package/mkconf-VERSION-win64.zip        portable: unpack anywhere and start mkconf.exe
#   package/mkconf-VERSION-setup.exe        per-user installer (NSIS)
# Both carry the programs, Qt's DLLs and plugins (dynamic, so users can replace them, as Qt's
# LGPL asks), the MinGW runtime DLLs, Qt's Russian texts, the user manual and the licences.
# usage: package.sh BUILD_DIR QT_PREFIX MANUAL_DIR VERSION
set -euo pipefail
build=$(cd "$1" && pwd); qt=$2; manual=$3; version=$4
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
triple=x86_64-w64-mingw32
name=mkconf-$version
stage=$build/stage/$name
rm -rf "$build/stage" "$build/package"
mkdir -p "$stage" "$build/package"

cp "$build/bin/mkconf.exe" "$build/bin/mktool.exe" "$stage/"
mkdir -p "$stage/platforms" "$stage/sqldrivers" "$stage/styles" "$stage/translations"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/sqldrivers/qsqlite.dll" "$stage/sqldrivers/"
[ -f "$qt/plugins/styles/qwindowsvistastyle.dll" ] && cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
rmdir "$stage/styles" 2>/dev/null || true
# Qt's own dialogs in Russian: the same files as Debian's qt6-translations-l10n.
for qm in qtbase_ru.qm qt_ru.qm; do
    [ -f "/usr/share/qt6/translations/$qm" ] && cp "/usr/share/qt6/translations/$qm" "$stage/translations/"
done
# Everything beside the programs: Qt looks for its plugins and texts here, not where it was built.
printf '[Paths]\nPrefix = .\nPlugins = .\nTranslations = translations\n' >"$stage/qt.conf"

# Every DLL the programs and plugins load, found where Qt and MinGW keep them; Windows' own stay out.
gccdir=$(dirname "$($triple-g++-posix -print-libgcc-file-name)")
search=("$qt/bin" "$gccdir" "/usr/$triple/lib")
declare -A seen=()
copy_deps() {
    local file=$1 dll found dir
    while read -r dll; do
        [ -n "${seen[$dll]:-}" ] && continue
        seen[$dll]=1
        found=""
        for dir in "${search[@]}"; do
            if [ -f "$dir/$dll" ]; then found="$dir/$dll"; break; fi
        done
        [ -z "$found" ] && continue # a system DLL
        cp "$found" "$stage/"
        copy_deps "$found"
    done < <($triple-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p')
}
for f in "$stage"/*.exe "$stage"/platforms/*.dll "$stage"/sqldrivers/*.dll "$stage"/styles/*.dll; do
    [ -f "$f" ] && copy_deps "$f"
done
$triple-strip "$stage"/*.exe
$triple-strip --strip-unneeded "$stage"/*.dll "$stage"/*/*.dll

cp -r "$manual" "$stage/manual"
cp "$here/mkconf.ico" "$stage/"
mkdir -p "$stage/licenses"
cp -r "$qt/licenses/." "$stage/licenses/"
cp "$root/src/render/fonts/LICENSE-TerminusFont.txt" "$stage/licenses/"
cp "$root/LICENSE" "$stage/licenses/mkconf-GPL-3.0-or-later.txt"
cp "$here/LICENSES.txt" "$stage/licenses/README.txt"
cp "$root/README.md" "$stage/README.md"

(cd "$build/stage" && rm -f "$build/package/$name-win64.zip" && zip -qr -9 "$build/package/$name-win64.zip" "$name")

# The installer's file lists: what it puts in, and exactly that taken out again.
files=$build/stage/files.nsh; remove=$build/stage/remove.nsh
: >"$files"; : >"$remove"
(cd "$stage" && find . -type d | sort) | while read -r d; do
    d=${d#./}; [ "$d" = "." ] && continue
    w=${d//\//\\}
    echo "CreateDirectory \"\$INSTDIR\\$w\"" >>"$files"
done
(cd "$stage" && find . -type f | sort) | while read -r f; do
    f=${f#./}; w=${f//\//\\}
    echo "File \"/oname=$w\" \"$stage/$f\"" >>"$files"
    echo "Delete \"\$INSTDIR\\$w\"" >>"$remove"
done
(cd "$stage" && find . -mindepth 1 -type d | sort -r) | while read -r d; do
    d=${d#./}; w=${d//\//\\}
    echo "RMDir \"\$INSTDIR\\$w\"" >>"$remove"
done
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$stage" -DFILES="$files" -DREMOVE="$remove" \
    -DOUTFILE="$build/package/$name-setup.exe" "$here/installer.nsi"
ls -1 "$build/package/$name-win64.zip" "$build/package/$name-setup.exe"
