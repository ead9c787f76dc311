#!/usr/bin/env bash
# Cross-builds Velquo for 64-bit Windows on Debian 12 and makes its two packages:
#
#   scripts/build-windows.sh            dependencies (once), the project, the zip and the installer
#   scripts/build-windows.sh deps       the dependencies only
#
# The dependencies (Qt's base, libjpeg-turbo, GoogleTest, libmdb, QuaZip) are built from Debian's
# own source packages where Debian serves them and from third_party/ otherwise, into a cache
# outside the build folder, one folder per dependency named after its version and the compiler's:
# a second run, or a clean clone on the same machine, finds them there.
#
#   VELQUO_WIN64_CACHE   the cache (default ~/.cache/velquo-win64)
#   VELQUO_WIN64_BUILD   the project's build folder (default build/win64)
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
CACHE=${VELQUO_WIN64_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velquo-win64}
BUILD=${VELQUO_WIN64_BUILD:-$ROOT/build/win64}
JOBS=$(nproc)
TOOLCHAIN=$ROOT/cmake/mingw-w64-x86_64.cmake
TRIPLE=x86_64-w64-mingw32
HOST_QT=/usr/lib/x86_64-linux-gnu/cmake

log() { printf '[build-windows] %s\n' "$*" >&2; }

PACKAGES=(
    g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine64 wine nsis nasm
    cmake ninja-build pkg-config dpkg-dev autoconf automake libtool gettext autopoint
    qt6-base-dev qt6-base-dev-tools qt6-translations-l10n zip unzip xz-utils
)

install_packages() {
    local missing=() p
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return
    log "installing: ${missing[*]}"
    local sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Debian's source packages come through the machine's own apt sources: a deb-src entry is made
# from each deb entry already configured.
enable_sources() {
    apt-cache showsrc qt6-base 2>/dev/null | grep -q '^Version:' && return
    local sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo
    local f
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        case "$f" in *-velquo-src.sources) continue ;; esac
        grep -q '^Types: deb$' "$f" || continue
        sed 's/^Types: deb$/Types: deb-src/' "$f" | $sudo tee "${f%.sources}-velquo-src.sources" >/dev/null
    done
    if [ -f /etc/apt/sources.list ]; then
        sed -n 's/^deb /deb-src /p' /etc/apt/sources.list |
            $sudo tee /etc/apt/sources.list.d/velquo-src.list >/dev/null
    fi
    $sudo apt-get update -qq
}

# The version of Debian's source package $1, without its epoch (a colon would end a search path).
source_version() { apt-cache showsrc "$1" | sed -n 's/^Version: \([0-9]*:\)\{0,1\}//p' | sort -V | tail -1; }

# Unpacks Debian's source package $1 (with Debian's patches applied) and prints its folder.
debian_source() {
    local name=$1 version dir
    version=$(source_version "$name")
    dir=$CACHE/sources/$name-$version
    if [ ! -f "$dir/.unpacked" ]; then
        rm -rf "$dir" "$CACHE/sources/dl-$name"
        mkdir -p "$CACHE/sources/dl-$name"
        (cd "$CACHE/sources/dl-$name" && apt-get source --download-only "$name" >/dev/null 2>&1)
        dpkg-source --no-check -x "$CACHE/sources/dl-$name"/*.dsc "$dir" >/dev/null
        touch "$dir/.unpacked"
    fi
    printf '%s\n' "$dir"
}

# The cross compiler's version names every cache folder, so that a new compiler builds afresh.
# Read once the packages are in: on a new machine the compiler comes with them.
COMPILER=
compiler_version() {
    COMPILER=$($TRIPLE-g++-posix -dumpversion) || { echo "no $TRIPLE-g++-posix" >&2; exit 1; }
}

# prefix NAME VERSION: the cache folder a dependency is installed into.
prefix() { printf '%s/%s-%s-gcc%s\n' "$CACHE" "$1" "$2" "$COMPILER"; }

# The toolchain file searches the dependencies built so far, and only them and MinGW's own.
export VELQUO_WIN64_PREFIX=""
uses() { VELQUO_WIN64_PREFIX="${VELQUO_WIN64_PREFIX:+$VELQUO_WIN64_PREFIX;}$1"; }

# Qt's own build and whatever builds against it run the machine's Qt tools (moc, rcc, uic).
QT_HOST_ARGS=(-DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$HOST_QT")

# What builds against the Windows Qt and its compatibility module is told where both are.
qt_compat_args() {
    QT_COMPAT_ARGS=(-DCMAKE_PREFIX_PATH="$VELQUO_WIN64_PREFIX"
        -DQT_ADDITIONAL_PACKAGES_PREFIX_PATH="$COMPAT_PREFIX" "${QT_HOST_ARGS[@]}")
}

build_qtbase() {
    local version src out
    version=$(source_version qt6-base)
    out=$(prefix qtbase "$version")
    QT_PREFIX=$out
    uses "$out"
    [ -f "$out/.done" ] && return
    src=$(debian_source qt6-base)
    log "building Qt $version for Windows (about half an hour on two cores)"
    rm -rf "$CACHE/work/qtbase" "$out"
    # What the programs use: Core, Gui, Widgets, Test, the windows platform plugin, the styles and
    # image formats. OpenGL stays on (dynamic): the windows plugin of this Qt does not build
    # without it. Debian's source has no tablet support library.
    cmake -S "$src" -B "$CACHE/work/qtbase" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$out" "${QT_HOST_ARGS[@]}" \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DBUILD_WITH_PCH=OFF \
        -DINPUT_opengl=dynamic -DFEATURE_tabletevent=OFF \
        -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF \
        -DFEATURE_concurrent=OFF -DFEATURE_zstd=OFF \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_jpeg=OFF -DFEATURE_system_png=OFF \
        -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_freetype=OFF \
        >"$CACHE/work/qtbase.configure.log"
    cmake --build "$CACHE/work/qtbase" -j"$JOBS" >"$CACHE/work/qtbase.build.log"
    cmake --install "$CACHE/work/qtbase" >/dev/null
    touch "$out/.done"
    rm -rf "$CACHE/work/qtbase"
}

# cmake_dep NAME SOURCE PREFIX [CMAKE ARGUMENTS]: configures, builds and installs a CMake project
# for Windows.
cmake_dep() {
    local name=$1 src=$2 out=$3
    shift 3
    rm -rf "$CACHE/work/$name" "$out"
    cmake -S "$src" -B "$CACHE/work/$name" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$out" "$@" >"$CACHE/work/$name.log"
    cmake --build "$CACHE/work/$name" -j"$JOBS" >>"$CACHE/work/$name.log"
    cmake --install "$CACHE/work/$name" >>"$CACHE/work/$name.log"
    touch "$out/.done"
    rm -rf "$CACHE/work/$name"
}

build_libjpeg() {
    local version
    version=$(source_version libjpeg-turbo)
    JPEG_PREFIX=$(prefix libjpeg-turbo "$version")
    uses "$JPEG_PREFIX"
    [ -f "$JPEG_PREFIX/.done" ] && return
    log "building libjpeg-turbo $version"
    cmake_dep libjpeg-turbo "$(debian_source libjpeg-turbo)" "$JPEG_PREFIX" \
        -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DCMAKE_ASM_NASM_COMPILER=nasm
}

build_googletest() {
    local version
    version=$(source_version googletest)
    GTEST_PREFIX=$(prefix googletest "$version")
    uses "$GTEST_PREFIX"
    [ -f "$GTEST_PREFIX/.done" ] && return
    log "building GoogleTest $version"
    cmake_dep googletest "$(debian_source googletest)" "$GTEST_PREFIX" -DBUILD_SHARED_LIBS=OFF
}

# The libraries Debian does not serve as source here are kept in third_party/ (see its README);
# their folders are named after their versions.
third_party_version() { sed -n 's/^version: //p' "$ROOT/third_party/$1/ORIGIN"; }

build_iconv() {
    ICONV_PREFIX=$(prefix win-iconv "$(third_party_version win-iconv)")
    uses "$ICONV_PREFIX"
    [ -f "$ICONV_PREFIX/.done" ] && return
    log "building win-iconv"
    cmake_dep win-iconv "$ROOT/third_party/win-iconv" "$ICONV_PREFIX" \
        -DWIN_ICONV_BUILD_SHARED=OFF -DWIN_ICONV_BUILD_EXECUTABLE=OFF
}

# libmdb alone, static, converting texts through iconv (without it every character outside
# Latin-1 in a table's or column's name would come out as "?"). Its configure script adds
# libtool's -no-undefined to the compiler's flags for MinGW before it looks for iconv, so that
# every link test after it fails: what it would have found is told to it.
build_mdbtools() {
    MDB_PREFIX=$(prefix mdbtools "$(third_party_version mdbtools)-iconv")
    uses "$MDB_PREFIX"
    [ -f "$MDB_PREFIX/.done" ] && return
    log "building libmdb"
    local work=$CACHE/work/mdbtools
    rm -rf "$work" "$MDB_PREFIX"
    cp -r "$ROOT/third_party/mdbtools" "$work"
    (
        cd "$work"
        autoreconf -i -f >"$CACHE/work/mdbtools.log" 2>&1
        ./configure --host=$TRIPLE --prefix="$MDB_PREFIX" --disable-glib --disable-man \
            --enable-static --disable-shared CC=$TRIPLE-gcc-posix \
            CPPFLAGS="-I$ICONV_PREFIX/include" LDFLAGS="-L$ICONV_PREFIX/lib" \
            am_cv_func_iconv=yes am_cv_lib_iconv=yes am_cv_func_iconv_works=yes >>"$CACHE/work/mdbtools.log" 2>&1
        grep -q '^#define HAVE_ICONV 1' confdefs.h 2>/dev/null || grep -q -- '-DHAVE_ICONV=1' Makefile ||
            { log "libmdb: iconv not found (see $CACHE/work/mdbtools.log)"; exit 1; }
        make -C src/libmdb -j"$JOBS" install >>"$CACHE/work/mdbtools.log" 2>&1
        make -C include install >>"$CACHE/work/mdbtools.log" 2>&1
        make install-pkgconfigDATA >>"$CACHE/work/mdbtools.log" 2>&1
    )
    touch "$MDB_PREFIX/.done"
    rm -rf "$work"
}

# QuaZip needs Qt's text codec classes, which Qt 6 keeps in its compatibility module. Its
# codecs for Chinese, Japanese and Korean stay out: nothing here converts through them (GBK
# goes through the platform's code page 936), and third_party/ does not keep them.
build_qt5compat() {
    COMPAT_KEY=$(third_party_version qt5compat)-nocjk
    COMPAT_PREFIX=$(prefix qt5compat "$COMPAT_KEY")
    [ -f "$COMPAT_PREFIX/.done" ] || {
        log "building Qt's compatibility module"
        cmake_dep qt5compat "$ROOT/third_party/qt5compat" "$COMPAT_PREFIX" \
            -DCMAKE_PREFIX_PATH="$QT_PREFIX" "${QT_HOST_ARGS[@]}" \
            -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DFEATURE_big_codecs=OFF
    }
    uses "$COMPAT_PREFIX"
}

build_quazip() {
    # Built against one build of the compatibility module, so named after it too.
    QUAZIP_PREFIX=$(prefix quazip "$(third_party_version quazip)-qt5compat-$COMPAT_KEY")
    [ -f "$QUAZIP_PREFIX/.done" ] || {
        log "building QuaZip"
        qt_compat_args
        cmake_dep quazip "$ROOT/third_party/quazip" "$QUAZIP_PREFIX" "${QT_COMPAT_ARGS[@]}" \
            -DQUAZIP_QT_MAJOR_VERSION=6 -DQUAZIP_BZIP2=OFF -DBUILD_SHARED_LIBS=ON
    }
    uses "$QUAZIP_PREFIX"
}

# FFmpeg's libraries for the clips PlaySound does not read (Ogg, FLAC, M4A): from Debian's source,
# as DLLs (as Qt's are) with nothing but what decoding a quiz's clips needs, the readers of WAV,
# Ogg, FLAC, MP3, AAC and MPEG-4 files, their sound decoders and the resampler; no other library,
# no program. LGPL 2.1 or later, as configured.
build_ffmpeg() {
    local version src work
    version=$(source_version ffmpeg)
    AV_PREFIX=$(prefix ffmpeg "$version-clips")
    uses "$AV_PREFIX"
    [ -f "$AV_PREFIX/.done" ] && return
    src=$(debian_source ffmpeg)
    log "building FFmpeg $version's sound decoders"
    work=$CACHE/work/ffmpeg
    rm -rf "$work" "$AV_PREFIX"
    mkdir -p "$work"
    (
        cd "$work"
        "$src/configure" --prefix="$AV_PREFIX" --enable-cross-compile --arch=x86_64 \
            --target-os=mingw32 --cross-prefix=$TRIPLE- --cc=$TRIPLE-gcc-posix \
            --pkg-config=pkg-config --disable-autodetect --disable-everything --disable-programs \
            --disable-doc --disable-network --disable-avdevice --disable-avfilter \
            --disable-swscale --disable-postproc --disable-debug --enable-shared --disable-static \
            --enable-swresample --enable-demuxer=wav,ogg,flac,mp3,mov,aac \
            --enable-decoder=aac,aac_latm,alac,vorbis,opus,flac,mp3,mp3float,pcm_s16le,pcm_s24le,pcm_s32le,pcm_f32le,pcm_u8 \
            --enable-parser=aac,flac,vorbis,opus,mpegaudio >"$CACHE/work/ffmpeg.log" 2>&1
        make -j"$JOBS" >>"$CACHE/work/ffmpeg.log" 2>&1
        make install >>"$CACHE/work/ffmpeg.log" 2>&1
    ) || { log "FFmpeg did not build (see $CACHE/work/ffmpeg.log)"; exit 1; }
    touch "$AV_PREFIX/.done"
    rm -rf "$work"
}

build_deps() {
    install_packages
    compiler_version
    enable_sources
    mkdir -p "$CACHE/work" "$CACHE/sources"
    build_qtbase
    build_libjpeg
    build_googletest
    build_iconv
    build_mdbtools
    build_qt5compat
    build_quazip
    build_ffmpeg
}

MINGW_RUNTIME=/usr/$TRIPLE/lib

# deploy_runtime FOLDER: what the programs load from beside themselves: MinGW's runtime, Qt's
# libraries and plugins, QuaZip and zlib, FFmpeg's decoding libraries, Qt's Chinese texts, and qt.conf, which tells Qt that
# its plugins and translations lie in this folder rather than in the prefix it was built for.
deploy_runtime() {
    local dir=$1 f gcc_runtime=/usr/lib/gcc/$TRIPLE/$COMPILER
    mkdir -p "$dir/platforms" "$dir/styles" "$dir/imageformats" "$dir/translations"
    cp -u "$gcc_runtime/libstdc++-6.dll" "$gcc_runtime/libgcc_s_seh-1.dll" \
        "$MINGW_RUNTIME/libwinpthread-1.dll" "$MINGW_RUNTIME/zlib1.dll" "$dir/"
    for f in Core Gui Widgets; do cp -u "$QT_PREFIX/bin/Qt6$f.dll" "$dir/"; done
    cp -u "$COMPAT_PREFIX/bin/Qt6Core5Compat.dll" "$QUAZIP_PREFIX/bin/libquazip1-qt6.dll" "$dir/"
    cp -u "$AV_PREFIX/bin/"{avutil,swresample,avcodec,avformat}-*.dll "$dir/"
    # The bank tool's check runs the presenter's start on the platform without a screen.
    cp -u "$QT_PREFIX/plugins/platforms/qwindows.dll" "$QT_PREFIX/plugins/platforms/qoffscreen.dll" \
        "$dir/platforms/"
    cp -u "$QT_PREFIX/plugins/styles/"*.dll "$dir/styles/"
    cp -u "$QT_PREFIX/plugins/imageformats/"*.dll "$dir/imageformats/"
    cp -u /usr/share/qt6/translations/qtbase_zh_CN.qm "$dir/translations/"
    printf '[Paths]\r\nPrefix = .\r\nPlugins = .\r\nTranslations = translations\r\n' >"$dir/qt.conf"
}

# The tests also need Qt's test library.
deploy_test_runtime() {
    local dir=$1
    deploy_runtime "$dir"
    cp -u "$QT_PREFIX/bin/Qt6Test.dll" "$dir/"
}

# The build machine's own velquo-demoart draws the demo's pictures for the Windows package (the
# same art as the Linux build's): a native build of that one program beside the Windows one.
HOST_BUILD=${VELQUO_HOST_BUILD:-$BUILD-host}
build_host_tools() {
    log "building the demo's art tool for this machine in $HOST_BUILD"
    bash "$ROOT/scripts/install-deps.sh" run
    CCACHE_BASEDIR=${CCACHE_BASEDIR:-$ROOT} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1} \
        cmake -S "$ROOT" -B "$HOST_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELQUO_TESTS=OFF \
        -DVELQUO_BENCH=OFF >"$HOST_BUILD.configure.log" || { cat "$HOST_BUILD.configure.log" >&2; return 1; }
    CCACHE_BASEDIR=${CCACHE_BASEDIR:-$ROOT} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1} \
        cmake --build "$HOST_BUILD" -j"$JOBS" --target velquo-demoart
}

build_project() {
    build_host_tools
    log "building Velquo for Windows in $BUILD"
    qt_compat_args
    export WINEDEBUG=${WINEDEBUG:--all}
    # The demo installation is made at build time by the Windows tools themselves, under wine.
    export QT_QPA_PLATFORM=offscreen
    PKG_CONFIG_LIBDIR="$MDB_PREFIX/lib/pkgconfig:$AV_PREFIX/lib/pkgconfig" cmake -S "$ROOT" -B "$BUILD" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release "${QT_COMPAT_ARGS[@]}" \
        -DCMAKE_CROSSCOMPILING_EMULATOR="$ROOT/tests/windows/run-under-wine.sh" \
        -DVELQUO_HOST_DEMOART="$HOST_BUILD/tools/demoart/velquo-demoart" \
        -DVELQUO_TESTS=ON -DVELQUO_BENCH=OFF -DVELQUO_WERROR=ON >"$BUILD.configure.log" ||
        { cat "$BUILD.configure.log" >&2; return 1; }
    deploy_test_runtime "$BUILD/bin"
    cmake --build "$BUILD" -j"$JOBS"
}

# The portable folder (zipped) and the installer, in $BUILD/package: the three programs with
# what they load, and the demo installation beside them, as the operator uses the program:
# opt.ini, pictures and sounds beside velquo.exe, db.DLL and next.png in the current folder.
package() {
    local version name dir
    version=$(sed -n 's/^project(Velquo VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
    name=velquo-$version-win64
    dir=$BUILD/package/$name
    log "packaging $name"
    rm -rf "$BUILD/package"
    mkdir -p "$dir"
    cp "$BUILD/bin/velquo.exe" "$BUILD/bin/velquo-bank.exe" "$BUILD/bin/velquo-bank-editor.exe" "$dir/"
    deploy_runtime "$dir"
    cp "$BUILD/demo-install/"* "$dir/"
    # Debugging symbols are for the build folder; the package is what an operator downloads.
    # Only those go: the base relocations stay, or Windows could not move a program whose
    # preferred address is taken (wine moves them all).
    find "$dir" -name '*.exe' -o -name '*.dll' | xargs $TRIPLE-strip --strip-debug
    (cd "$BUILD/package" && zip -qr9 "$name.zip" "$name")
    bash "$ROOT/packaging/windows/make-installer.sh" "$dir" "$version" \
        "$BUILD/package/$name-setup.exe" >"$BUILD/package/installer.log"
    ls -l "$BUILD/package/$name.zip" "$BUILD/package/$name-setup.exe" >&2
}

main() {
    build_deps
    [ "${1:-}" = deps ] && return
    mkdir -p "$(dirname "$BUILD")"
    build_project
    package
}

main "$@"
