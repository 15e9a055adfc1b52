#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, configures, builds, then runs the configurator or the tests.
#   bash build.sh run [mkconf options]   build and start mkconf (the demo device when none is given)
#   bash build.sh test [--sanitize]      build and run the whole test suite
#   bash build.sh fuzz [SECONDS]         build the libFuzzer targets with clang and run each SECONDS
#   bash build.sh tidy                   build, then run clang-tidy's checks (.clang-tidy) on every file
#   bash build.sh build                  build only
#   bash build.sh manual                 build the user manual with fresh pictures into build/manual/
#   bash build.sh package                build the Debian package (with the manual) into build/package/
#                                        (in build-package/, with Debian's build flags)
#   bash build.sh windows                cross-build for Windows (MinGW-w64; Qt built once, outside the
#                                        clone) and make build-windows/package/ (zip and installer)
#   bash build.sh windows-test           build for Windows, then run its tests under Wine
set -euo pipefail
cd "$(dirname "$0")"

packages=(build-essential cmake ninja-build ccache pkg-config
          qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-translations-l10n libqt6sql6-sqlite libgl-dev libudev-dev
          libgtest-dev googletest xvfb xauth openbox libxcb1-dev fonts-dejavu-core)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

# The compiler cache serves every clone of the project on this machine alike (a fresh clone's
# build finds what an earlier one compiled): paths under the clone are hashed as relative ones,
# and the debug information's build folder is not part of the key.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-true}
export CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-20G} # the Linux, sanitizer, package, fuzz and Windows builds

build() { # build DIR [cmake options] [-- targets]; all targets when none are named
    local dir=$1; shift
    local opts=() targets=()
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do opts+=("$1"); shift; done
    [ $# -gt 0 ] && shift
    targets=("$@")
    # MK_WERROR=1 (set by CI) makes every warning an error.
    [ -n "${MK_WERROR:-}" ] && opts+=(-DMK_WERROR=ON)
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S . -B "$dir" -G Ninja "${opts[@]}"
    elif [ ${#opts[@]} -gt 0 ]; then
        cmake -S . -B "$dir" "${opts[@]}" >/dev/null
    fi
    if [ ${#targets[@]} -gt 0 ]; then
        cmake --build "$dir" -j "$(nproc)" --target "${targets[@]}"
    else
        cmake --build "$dir" -j "$(nproc)"
    fi
}

manual() { # the pages from docs/manual, the pictures from the screenshot run of this build
    # The pictures' clock is the changelog's time, as the package's (the status bar's reading
    # time, the history's "до" day): the same pictures on any day.
    export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(dpkg-parsechangelog -l NEWS -S Timestamp)}
    build build -- manual_pages screenshots_test
    rm -f build/manual/img/*.png build/manual/img/manifest.txt
    # In a home of its own: nothing the user or another test keeps there reaches the pictures.
    MK_SCREENSHOT_DIR="$PWD/build/manual/img" QT_QPA_PLATFORM=offscreen \
        bash packaging/in-own-home build/bin/screenshots_test >build/manual-screenshots.log 2>&1 ||
        { tail -n 30 build/manual-screenshots.log >&2; echo "The screenshot run failed (build/manual-screenshots.log)." >&2; exit 1; }
    # The Windows manual shows the same pictures.
    rm -rf build/manual-windows/img && cp -r build/manual/img build/manual-windows/img
    echo "The user manual: build/manual/index.html ($(ls build/manual/img/*.png | wc -l) pictures);" \
        "for Windows: build/manual-windows/index.html"
}


# The Debian package: its own build folder with Debian's hardening flags (fortified functions,
# read-only relocations bound at start), the build paths mapped away and every time taken from
# the changelog, so that two builds of one commit give the same package. The manual's pictures
# come from the everyday build's screenshot run.
package() {
    export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(dpkg-parsechangelog -l NEWS -S Timestamp)}
    # The pictures the package carries are drawn afresh, alone, for this package.
    manual
    export DEB_BUILD_MAINT_OPTIONS=hardening=+all
    # The compiler always gets the sources' absolute paths, which the build flags map to the
    # clone's folder. The cache's rewriting of paths to relative ones is left off here: it only
    # happens when the cache answers, so a build with a cold, missing or refusing cache named the
    # sources otherwise in the debug data and the programs differed.
    unset CCACHE_BASEDIR
    build build-package -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
        -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
        -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" -DMK_PACKAGE_MANUAL="$PWD/build/manual" \
        -- mkconf mktool mksim package_docs
    rm -f build/package/*.deb
    (cd build-package && cpack -G DEB -B "$PWD/../build/package")
    ls -1 build/package/*.deb
}

# The Windows build: Qt for Windows from packaging/windows/build-qt.sh (built once, kept in
# ~/.cache/mkconf), the programs cross-built with MinGW-w64 into build-windows/.
# xdotool, x11-apps (xwd) and imagemagick: the demo's window found, clicked and its screenshot taken
# under Wine (tests/windows/demo-screenshot).
windows_packages=(g++-mingw-w64-x86-64-posix nsis zip wine wine64 xvfb xauth xdotool x11-apps imagemagick osslsigncode)
windows_build() { # [cmake options] [-- targets]
    packages+=("${windows_packages[@]}")
    install_missing
    local qt
    qt=$(bash packaging/windows/build-qt.sh | tail -n 1)
    build build-windows -DCMAKE_TOOLCHAIN_FILE="$PWD/packaging/windows/mingw64-toolchain.cmake" \
        -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_BUILD_TYPE=Release "$@"
    echo "$qt" >build-windows/qt-prefix
}

windows_package() {
    # The Windows manual: its pages made by the Linux build (fresh from docs/manual), its pictures
    # from the Linux build's screenshot run.
    if [ -f build/manual/img/manifest.txt ]; then
        build build -- manual_pages
        rm -rf build/manual-windows/img && cp -r build/manual/img build/manual-windows/img
    else
        manual
    fi
    local version
    version=$(sed -n 's/^project(mkconf VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
    bash packaging/windows/package.sh build-windows "$(cat build-windows/qt-prefix)" build/manual-windows "$version"
}

cmd=${1:-}
[ $# -gt 0 ] && shift
case "$cmd" in
run)
    install_missing
    build build -- mkconf # the tests are built by the test command
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
        echo "No display found (DISPLAY is not set). Starting mkconf under a virtual X server (xvfb-run);"
        echo "to see the window, run this command from a desktop session."
        exec xvfb-run -a build/bin/mkconf "${@:---demo}"
    fi
    exec build/bin/mkconf "${@:---demo}"
    ;;
test)
    install_missing
    dir=build; opts=()
    if [ "${1:-}" = "--sanitize" ]; then
        dir=build-asan; opts=(-DMK_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
    fi
    build "$dir" "${opts[@]}"
    export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}
    export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
    cd "$dir" && ctest --output-on-failure -j "$(nproc)"
    ;;
fuzz)
    packages+=(clang libclang-rt-14-dev)
    install_missing
    exec bash fuzz/run "${1:-10}"
    ;;
build)
    install_missing
    build build
    ;;
manual)
    install_missing
    manual
    ;;
tidy)
    packages+=(clang-tidy)
    install_missing
    build build
    exec run-clang-tidy -p build -quiet -j "$(nproc)" "$PWD/(src|tools|tests)/.*\.cpp$"
    ;;
package)
    # dpkg-dev: dpkg-shlibdeps finds the library packages the programs need, dpkg-buildflags gives
    # Debian's build flags; packaging/check-package validates the desktop entry (desktop-file-utils),
    # the MIME file (shared-mime-info) and the metainfo (appstream), and runs lintian.
    packages+=(dpkg-dev desktop-file-utils shared-mime-info appstream lintian)
    install_missing
    manual
    package
    ;;
windows)
    windows_build -- mkconf mktool
    windows_package
    ;;
windows-test)
    windows_build -DMK_WINDOWS_TESTS=ON
    windows_package
    exec bash tests/windows/run "$@"
    ;;
*)
    echo "usage: bash build.sh run|test [--sanitize]|fuzz [SECONDS]|tidy|build|manual|package|windows|windows-test" >&2
    exit 2
    ;;
esac
