#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the Windows packages from a cross-built tree:
#   package/mkconf-VERSION-win64.zip        portable: unpack anywhere and start mkconf.exe
#   package/mkconf-VERSION-setup.exe        per-user installer (NSIS)
# Both carry the programs, Qt's DLLs and plugins (dynamic, so users can replace them, as Qt's
# LGPL asks), the MinGW runtime DLLs, Qt's Russian texts, the user manual and the licences.
# With MK_SIGN_CERT set (sign.sh tells the rest), the programs, the installer and its uninstaller
# are signed and their signatures verified; without it nothing is signed.
# usage: package.sh BUILD_DIR QT_PREFIX MANUAL_DIR VERSION [OUT_DIR]
#   OUT_DIR (default BUILD_DIR) receives stage/ and package/
set -euo pipefail
build=$(cd "$1" && pwd); qt=$2; manual=$3; version=$4
out=$build
[ $# -ge 5 ] && { mkdir -p "$5"; out=$(cd "$5" && pwd); }
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
triple=x86_64-w64-mingw32
name=mkconf-$version
stage=$out/stage/$name
rm -rf "$out/stage" "$out/package"
mkdir -p "$stage" "$out/package"
# The installer's copyright, as the programs' (CMakeLists.txt): from the Debian copyright file.
years=$(sed -n 's/^Copyright: \(.*\) mkconf developers$/\1/p' "$root/packaging/debian/copyright" | head -n 1)
[ -n "$years" ] || { echo "package.sh: packaging/debian/copyright names no years of the mkconf developers" >&2; exit 1; }

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
sign=()
if [ -n "${MK_SIGN_CERT:-}" ]; then
    bash "$here/sign.sh" "$stage/mkconf.exe" "$stage/mktool.exe"
    sign=(-DSIGN="$here/sign.sh")
fi

cp -r "$manual" "$stage/manual"
cp "$here/mkconf.ico" "$stage/"
mkdir -p "$stage/licenses"
cp -r "$qt/licenses/." "$stage/licenses/"
cp "$root/src/render/fonts/LICENSE-TerminusFont.txt" "$stage/licenses/"
cp "$root/LICENSE" "$stage/licenses/mkconf-GPL-3.0-or-later.txt"
cp "$here/LICENSES.txt" "$stage/licenses/README.txt"
cp "$root/README.md" "$stage/README.md"

(cd "$out/stage" && rm -f "$out/package/$name-win64.zip" && zip -qr -9 "$out/package/$name-win64.zip" "$name")

# The installer's file lists: what it puts in, and exactly that taken out again.
files=$out/stage/files.nsh; remove=$out/stage/remove.nsh
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
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DCOPYRIGHT_YEARS="$years" -DSTAGE="$stage" \
    -DFILES="$files" -DREMOVE="$remove" "${sign[@]}" -DOUTFILE="$out/package/$name-setup.exe" "$here/installer.nsi"
[ ${#sign[@]} -gt 0 ] && bash "$here/sign.sh" "$out/package/$name-setup.exe"
ls -1 "$out/package/$name-win64.zip" "$out/package/$name-setup.exe"
