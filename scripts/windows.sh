#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Teiler for 64-bit Windows, cross-built on Debian 12.
#   scripts/windows.sh build   install what is missing, build Qt for Windows once into a cache
#                              folder, build Teiler with it, and put the portable zip, the
#                              installer and the Windows Installer package into build-windows/
#   scripts/windows.sh test    the same, then the Qt Test programs under Wine through CTest, the
#                              real window under Wine in Xvfb, and the installer and the
#                              package installed and removed silently under Wine, and last
#                              everything packed once more, signed with a throw-away certificate
# With TEILER_SIGN_CERT set (and TEILER_SIGN_KEY, TEILER_SIGN_PASS, TEILER_SIGN_TIMESTAMP as
# scripts/sign-windows.sh reads them), teiler.exe, the installer, its uninstaller and the MSI
# package are signed with that code-signing certificate; without it nothing is signed.
# Qt is Debian's own source of the Qt this machine runs (qtbase 6.4.2), built with MinGW-w64 into
# ${TEILER_QT_CACHE:-~/.cache/teiler}/qt-<version>-mingw-<options>; a folder whose name matches
# the version and the options is reused.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

packages=(g++-mingw-w64-x86-64-posix wine64 nsis libwine-dev dpkg-dev zip unzip xz-utils
          fonts-liberation2 xvfb xauth xdotool openbox wmctrl x11-utils xclip imagemagick cmake
          ninja-build qt6-base-dev qt6-translations-l10n binutils-mingw-w64-x86-64 librsvg2-bin
          wixl msitools osslsigncode openssl)

source scripts/install-missing.sh

stage() { printf '\n=== %s ===\n' "$*"; }

# Outside the work tree, so that a clean clone finds the Qt built before.
cache=${XDG_CACHE_HOME:-${HOME:-/var/tmp}/.cache}/teiler
toolchain=$root/cmake/mingw-w64-x86_64.cmake
triplet=x86_64-w64-mingw32
# Wine by the paths its package wine64 gives: the package wine, which would put wine and
# wineserver on PATH, is not needed.
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64

# Read once the packages are installed: qt_version names the Qt source and the cache folder,
# mingw_dlls the folders of MinGW's runtime DLLs, found through the compiler, whatever its version.
qt_version=""
mingw_dlls=()
read_versions() {
    qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
    [ -n "$qt_version" ] || { echo "qt6-base-dev is not installed" >&2; return 1; }
    local runtime
    runtime=$("$triplet-g++-posix" -print-file-name=libstdc++-6.dll)
    [ -f "$runtime" ] || { echo "MinGW's libstdc++-6.dll was not found" >&2; return 1; }
    mingw_dlls=("$(dirname "$runtime")" "/usr/$triplet/lib")
}

# Everything a Widgets program with printing and Qt Test needs, nothing else. Without OpenGL the
# Windows platform plugin must not load it dynamically either. The tablet support is built: Qt's
# Windows plugin reads pens through Wintab as well as through the pointer messages. Teiler uses no
# graphics view (and so no print preview, which is built on it) and writes and reads PNG only.
# The Direct2D platform plugin stays: without it Qt's Windows printing does not link.
qt_options=(-DQT_BUILD_TESTS=OFF -DQT_BUILD_EXAMPLES=OFF -DBUILD_SHARED_LIBS=ON
            -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF
            -DFEATURE_dynamicgl=OFF -DFEATURE_vulkan=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
            -DFEATURE_pkg_config=OFF -DFEATURE_tabletevent=ON
            -DFEATURE_graphicsview=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF)

qt_prefix() {
    local tag
    tag=$( { echo "${qt_options[*]}"; cat "$toolchain"; } | md5sum | cut -c1-8)
    echo "${TEILER_QT_CACHE:-$cache}/qt-${qt_version%%+*}-mingw-$tag"
}

# Debian's source of qtbase, fetched through a source list of its own so that the system's
# sources stay untouched. The Debian source leaves out the Wintab headers; libwine-dev has them
# (LGPL), and three of Wine's macros are all they miss on MinGW.
fetch_qt_source() {
    local work=$1 apt=$1/apt
    mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial"
    local suite
    suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
    printf '%s\n' "deb-src http://deb.debian.org/debian $suite main" \
        "deb-src http://deb.debian.org/debian $suite-updates main" \
        "deb-src http://deb.debian.org/debian-security $suite-security main" >"$apt/sources.list"
    local opts=(-o "Dir::Etc::SourceList=$apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
                -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache" -o Debug::NoLocking=1)
    local log=$work/fetch.log
    # apt's download happens as root here and says so; the source package is checked against the
    # archive's signed lists by apt, so dpkg-source need not find the uploader's key.
    if ! { apt-get "${opts[@]}" update -qq &&
        (cd "$work" && apt-get "${opts[@]}" source --download-only "qt6-base=$qt_version"); } \
        >"$log" 2>&1; then
        cat "$log"
        echo "Debian's source of qt6-base $qt_version could not be fetched" >&2
        return 1
    fi
    rm -rf "$work/qtbase"
    dpkg-source -x "$work"/qt6-base_*.dsc "$work/qtbase" >>"$log" 2>&1 || {
        tail -20 "$log"
        echo "the source of qt6-base could not be unpacked; the log is $log" >&2
        return 1
    }
    local wintab=$work/qtbase/src/3rdparty/wintab
    mkdir -p "$wintab/wine"
    cp /usr/include/wine/wine/windows/wintab.h /usr/include/wine/wine/windows/pktdef.h "$wintab/wine/"
    cat >"$wintab/wintab.h" <<'EOH'
/* Wine's Wintab header with the macros it takes from Wine's own headers. */
#ifndef TEILER_WINTAB_H
#define TEILER_WINTAB_H
#include <windows.h>
#ifndef WINELIB_NAME_AW
#define WINELIB_NAME_AW(name) name##W
#endif
#ifndef DECL_WINELIB_TYPE_AW
#define DECL_WINELIB_TYPE_AW(type) typedef WINELIB_NAME_AW(type) type;
#endif
#ifndef API
#define API WINAPI
#endif
#include "wine/wintab.h"
#endif
EOH
    printf '#include "wine/pktdef.h"\n' >"$wintab/pktdef.h"
}

build_qt() {
    local prefix
    prefix=$(qt_prefix)
    if [ -x "$prefix/bin/qt-cmake" ] && [ -f "$prefix/.complete" ]; then
        echo "Qt for Windows: $prefix (cached)"
        return 0
    fi
    stage "building Qt ${qt_version%%+*} for Windows into $prefix (once; about 18 minutes on two cores)"
    local work=${TEILER_QT_WORK:-$cache/qt-build}
    local start=$SECONDS
    mkdir -p "$work"
    fetch_qt_source "$work"
    rm -rf "$work/build" "$prefix"
    cmake -S "$work/qtbase" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(gcc -dumpmachine)/cmake" \
        "${qt_options[@]}" >"$work/configure.log" 2>&1 || {
        tail -40 "$work/configure.log"
        echo "configuring Qt for Windows failed; the log is $work/configure.log" >&2
        return 1
    }
    # The compile's processor time, which another load on the machine leaves as it is, beside
    # its wall time.
    local TIMEFORMAT="Qt for Windows compiled: %0R s wall time, %0U s user and %0S s system time"
    time cmake --build "$work/build" >"$work/build.log" 2>&1 || {
        grep -B5 -A20 -m3 'error' "$work/build.log" | head -80
        echo "building Qt for Windows failed; the log is $work/build.log" >&2
        return 1
    }
    cmake --install "$work/build" --strip >"$work/install.log" 2>&1
    # qtbase brings no translations; its German texts are the same file on both systems, and the
    # tests expect them where Qt looks for them.
    mkdir -p "$prefix/translations"
    cp /usr/share/qt6/translations/qtbase_de.qm "$prefix/translations/"
    touch "$prefix/.complete"
    rm -rf "$work"
    echo "Qt for Windows built in $(((SECONDS - start) / 60)) min $(((SECONDS - start) % 60)) s"
}

version=$(sed -n 's/^project(teiler VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
out=$root/build-windows
portable_name=teiler-$version-windows-x64
# Where the packages go: out, but for the signed packing of the test.
pack=$out

# Signs a file in place when a certificate is given (scripts/sign-windows.sh).
sign() {
    [ -n "${TEILER_SIGN_CERT:-}" ] || return 0
    bash "$root/scripts/sign-windows.sh" "$1"
}

build_teiler() {
    local prefix
    prefix=$(qt_prefix)
    stage "building Teiler for Windows"
    local start=$SECONDS size pngs=()
    mkdir -p "$out/icon"
    for size in 16 24 32 48 64 256; do
        rsvg-convert -w "$size" -h "$size" data/icons/teiler.svg -o "$out/icon/teiler-$size.png"
        pngs+=("$out/icon/teiler-$size.png")
    done
    convert "${pngs[@]}" "$out/icon/teiler.ico"
    # Qt's toolchain file remembers the MinGW toolchain by the path of the clone that built Qt,
    # which may be long gone: name this clone's copy.
    "$prefix/bin/qt-cmake" -S . -B "$out/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$toolchain" -DTEILER_BENCH=OFF -DCMAKE_CROSSCOMPILING_EMULATOR="$wine" \
        -DTEILER_WINDOWS_ICON="$out/icon/teiler.ico" >/dev/null
    cmake --build "$out/build"
    echo "Teiler for Windows built in $((SECONDS - start)) s"
}

# The DLLs a Windows program or library loads from Qt or MinGW, from its import table, and the
# ones those load in turn; Windows' own DLLs are found in neither folder and left out.
needed_dlls() {
    local prefix=$1 queue=("${@:2}") seen=" " file dll dir
    while [ ${#queue[@]} -gt 0 ]; do
        file=${queue[0]}
        queue=("${queue[@]:1}")
        while read -r dll; do
            [[ "$seen" == *" $dll "* ]] && continue
            seen+="$dll "
            for dir in "$prefix/bin" "${mingw_dlls[@]}"; do
                if [ -f "$dir/$dll" ]; then
                    echo "$dir/$dll"
                    queue+=("$dir/$dll")
                    break
                fi
            done
        done < <($triplet-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p')
    done
}

# The portable folder: the program, the DLLs, the platform and style plugins (Qt 6 prints on
# Windows without a plugin), Qt's German texts, qt.conf so that Qt finds them beside the program,
# LIESMICH.txt and the licences' texts as they are, with Windows' line ends.
make_portable() {
    local prefix dir=$pack/$portable_name
    prefix=$(qt_prefix)
    rm -rf "$dir"
    mkdir -p "$dir/plugins/platforms" "$dir/plugins/styles" "$dir/translations"
    cp "$out/build/app/teiler.exe" "$dir/"
    cp "$prefix/plugins/platforms/qwindows.dll" "$dir/plugins/platforms/"
    cp "$prefix/plugins/styles/qwindowsvistastyle.dll" "$dir/plugins/styles/"
    local dll
    while read -r dll; do
        cp "$dll" "$dir/"
    done < <(needed_dlls "$prefix" "$dir/teiler.exe" "$dir"/plugins/*/*.dll | sort -u)
    $triplet-strip --strip-unneeded "$dir"/*.exe "$dir"/*.dll "$dir"/plugins/*/*.dll
    # Signed after stripping, which would break the signature, and before it is packed.
    sign "$dir/teiler.exe"
    cp /usr/share/qt6/translations/qtbase_de.qm "$dir/translations/"
    printf '[Paths]\r\nPrefix = .\r\nPlugins = plugins\r\nTranslations = translations\r\n' >"$dir/qt.conf"
    sed -e "s/@QT_DEBIAN_VERSION@/$qt_version/g" -e "s/@MINGW_VERSIONS@/$(mingw_versions)/g" \
        -e 's/$/\r/' packaging/windows/LIESMICH.txt >"$dir/LIESMICH.txt"
    # The example of presets for all users as regedit writes a .reg file: UTF-16 with a byte order
    # mark and Windows' line ends.
    { printf '\xff\xfe' && sed 's/$/\r/' packaging/windows/Vorgaben-Beispiel.reg |
        iconv -f UTF-8 -t UTF-16LE; } >"$dir/Vorgaben-Beispiel.reg"
    licences "$dir/Lizenzen"
}

# The source packages of the MinGW runtime DLLs and of Wine's Wintab headers in Qt's build, with
# their Debian versions.
mingw_versions() {
    local package
    for package in gcc-mingw-w64-x86-64-posix-runtime mingw-w64-x86-64-dev libwine-dev; do
        dpkg-query -W -f='${source:Package} ${source:Version}, ' "$package"
    done | sed 's/, $//'
}

# Teiler's licence (COPYING), Qt's (LGPL-3, or GPL-2 or GPL-3), Wine's for its Wintab headers
# (LGPL-2.1), and the copyright files of the Debian packages the MinGW runtime DLLs come from:
# they hold the GCC Runtime Library Exception and the MIT licence of winpthreads. Debian's
# copyright file of qt6-base holds the licences of the code Qt builds into its DLLs (zlib, PCRE2,
# libpng, FreeType, HarfBuzz, ...).
licences() {
    local to=$1
    mkdir -p "$to"
    sed 's/$/\r/' COPYING >"$to/GPL-3.txt"
    sed 's/$/\r/' /usr/share/common-licenses/GPL-2 >"$to/GPL-2.txt"
    sed 's/$/\r/' /usr/share/common-licenses/LGPL-3 >"$to/LGPL-3.txt"
    sed 's/$/\r/' /usr/share/common-licenses/LGPL-2.1 >"$to/LGPL-2.1.txt"
    sed 's/$/\r/' /usr/share/doc/gcc-mingw-w64-base/copyright >"$to/gcc-mingw-w64.txt"
    sed 's/$/\r/' /usr/share/doc/mingw-w64-common/copyright >"$to/mingw-w64.txt"
    sed 's/$/\r/' /usr/share/doc/libqt6core6/copyright >"$to/qt6-base.txt"
}

make_zip() {
    local zip=$pack/$portable_name.zip
    rm -f "$zip"
    (cd "$pack" && find "$portable_name" -print | LC_ALL=C sort | zip -q -X -9 "$zip" -@)
    echo "$(basename "$zip"): $(du -k "$zip" | cut -f1) KB"
    unzip -l "$zip" | sed -n '4,$p' | head -n -2 | awk '{print "  " $4}'
}

# The installer installs the portable folder file by file; the uninstaller deletes exactly those.
# makensis signs both itself when given the signing script: the uninstaller is written into the
# installer, and must be signed before.
make_installer() {
    local dir=$pack/$portable_name nsis=$pack/nsis setup=$pack/teiler-$version-setup.exe
    rm -rf "$nsis" "$setup"
    mkdir -p "$nsis"
    local sub f
    (
        cd "$dir"
        while IFS= read -r -d '' sub; do
            sub=${sub#./}
            [ "$sub" = . ] && sub=""
            echo "SetOutPath \"\$INSTDIR${sub:+\\${sub//\//\\}}\""
            while IFS= read -r -d '' f; do
                echo "File \"$dir/${f#./}\""
            done < <(find "./$sub" -maxdepth 1 -type f -print0 | LC_ALL=C sort -z)
        done < <(find . -type d -print0 | LC_ALL=C sort -z)
    ) >"$nsis/files.nsh"
    (
        cd "$dir"
        while IFS= read -r -d '' f; do
            f=${f#./}
            echo "Delete \"\$INSTDIR\\${f//\//\\}\""
        done < <(find . -type f -print0 | LC_ALL=C sort -z)
        while IFS= read -r -d '' sub; do
            sub=${sub#./}
            echo "RMDir \"\$INSTDIR\\${sub//\//\\}\""
        done < <(find . -mindepth 1 -type d -print0 | LC_ALL=C sort -rz)
    ) >"$nsis/remove.nsh"
    local parts signing=()
    IFS=. read -ra parts <<<"$version.0.0.0"
    [ -z "${TEILER_SIGN_CERT:-}" ] || signing=(-DSIGN="$root/scripts/sign-windows.sh")
    makensis -V2 "${signing[@]}" -INPUTCHARSET UTF8 -DVERSION="$version" \
        -DVIVERSION="${parts[0]}.${parts[1]}.${parts[2]}.${parts[3]}" \
        -DICON="$out/icon/teiler.ico" -DFILES="$nsis/files.nsh" -DREMOVE="$nsis/remove.nsh" \
        -DOUTFILE="$setup" -DLICENCE="$dir/Lizenzen/GPL-3.txt" \
        packaging/windows/teiler.nsi
    echo "$(basename "$setup"): $(du -k "$setup" | cut -f1) KB"
}

# The Windows Installer package (packaging/windows/teiler.wxs) with the portable folder's files,
# listed by wixl-heat; wixl takes the files' paths, the icon's too, relative to the folder it runs
# in.
make_msi() {
    local msi=$pack/teiler-$version.msi parts
    IFS=. read -ra parts <<<"$version.0.0"
    rm -f "$msi"
    (cd "$pack/$portable_name" && find . -type f | sed 's|^\./|dateien/|' | LC_ALL=C sort) |
        wixl-heat -p dateien/ --component-group Dateien --var var.Ordner \
            --directory-ref INSTALLDIR --win64 >"$pack/nsis/dateien.wxs"
    (cd "$pack" && wixl -a x64 -D Version="${parts[0]}.${parts[1]}.${parts[2]}" \
        -D Ordner="$portable_name" -D Icon="$(realpath --relative-to="$pack" "$out/icon/teiler.ico")" -D Win64=yes -o "$msi" \
        "$root/packaging/windows/teiler.wxs" nsis/dateien.wxs)
    # wixl knows no Secure properties: the presets' properties join those wixl makes secure, so
    # that Windows Installer hands them on to the installation as administrator also when
    # msiexec was started without.
    local secure
    secure=$(msiinfo export "$msi" Property | tr -d '\r' | sed -n 's/^SecureCustomProperties\t//p')
    [ -n "$secure" ] || { echo "wixl wrote no SecureCustomProperties into $msi" >&2; return 1; }
    msibuild "$msi" -q "UPDATE \`Property\` SET \`Value\` = '$secure;FARBEN;STIFT;ZOOM;ORDNER;FEST'
        WHERE \`Property\` = 'SecureCustomProperties'"
    sign "$msi"
    echo "$(basename "$msi"): $(du -k "$msi" | cut -f1) KB"
}

build_all() {
    install_missing "${packages[@]}"
    read_versions
    build_qt
    build_teiler
    stage "the portable zip and the installer"
    make_portable
    make_zip
    make_installer
    make_msi
}

# --- Under Wine -----------------------------------------------------------------------------------
# A Wine prefix of the build's own, with the Liberation 2 faces installed and standing in for Times
# New Roman, Courier New and Arial, as Windows' own faces do on a school computer; Wine's Mono and
# Gecko are not wanted. Wine 8 says it is Windows 7, which the installer refuses: the prefix says
# Windows 10.
ready=.teiler-ready-windows10
wine_prefix() {
    export WINEPREFIX=$out/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    [ -f "$WINEPREFIX/$ready" ] && return 0
    rm -rf "$WINEPREFIX"
    "$wine" wineboot -i >/dev/null 2>&1
    "$wineserver" -w
    "$wine" winecfg /v win10
    cp /usr/share/fonts/truetype/liberation2/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    local pair
    for pair in "Times New Roman=Liberation Serif" "Courier New=Liberation Mono" \
        "Arial=Liberation Sans"; do
        "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${pair%%=*}" \
            /t REG_SZ /d "${pair#*=}" /f >/dev/null
    done
    "$wineserver" -w
    touch "$WINEPREFIX/$ready"
}

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# The Qt Test programs, through CTest with Wine as the emulator; Qt's and MinGW's DLLs come from
# their folders, the offscreen platform takes its faces from the Liberation 2 folder.
windows_tests() {
    stage "tests of the Windows build under Wine"
    local prefix dirs=() d
    prefix=$(qt_prefix)
    for d in "$prefix/bin" "${mingw_dlls[@]}"; do dirs+=("$(windows_path "$d")"); done
    # Wine's own processes start before the tests, so that none of them keeps a test's output
    # open after the test has ended. Qt Test writes to the debugger unless told otherwise.
    "$wineserver" -p
    "$wine" cmd.exe /c exit >/dev/null 2>&1
    local status=0
    WINEPATH=$(IFS=';' && echo "${dirs[*]}") WINEQT_FORCE_STDERR_LOGGING=1 \
    WINEQT_QPA_FONTDIR=$(windows_path /usr/share/fonts/truetype/liberation2) \
        ctest --test-dir "$out/build" --output-on-failure -j2 || status=$?
    "$wineserver" -k || true
    return "$status"
}

wine_smoke_test() {
    stage "the Windows window under Wine in Xvfb"
    bash tests/smoke/wine_smoke.sh "$out/$portable_name" "$out/smoke" \
        "$out/teiler-$version-setup.exe"
}

# Drive C: of the prefix outside Windows' own folder, a file or folder a line: every file, and
# every folder but the empty ones left in a user's Temp.
drive_c_files() {
    (
        cd "$WINEPREFIX/drive_c"
        find . -path ./windows -prune -o -type f -print
        find . -path ./windows -prune -o -path './users/*/Temp/*' -type d -empty -prune -o \
            -type d -print
    ) | LC_ALL=C sort
}

# The Start menu's links run teiler.exe in the installation folder: the working folder is one of
# the link's UTF-16 strings, and no other of them names a folder.
check_links() {
    local folder=$1 links="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
    local got
    for got in "Teiler.lnk" "Teiler groß (Beamer).lnk"; do
        [ -f "$links/$got" ] || { echo "the Start menu lacks \"$got\"" >&2; return 1; }
        strings -el "$links/$got" | tr -d '\r' | grep -qxF "$folder" || {
            echo "\"$got\" does not run in $folder; its strings:" >&2
            strings -el "$links/$got" >&2
            return 1
        }
    done
}

# Silently uninstalled, drive C: must hold what it held before, with no folder ~nsu*.tmp left in
# Temp and no folder the installation made, and the registry keys the installation wrote must be
# gone.
uninstall_and_compare() {
    local uninstaller=$1 before=$2 after
    "$wine" "$uninstaller" /S
    "$wineserver" -w
    after=$(drive_c_files)
    if [ "$before" != "$after" ]; then
        diff <(echo "$before") <(echo "$after") >&2 || true
        echo "the uninstaller left the files above" >&2
        return 1
    fi
    local key
    for key in 'HKLM\Software\Classes\.teiler' 'HKLM\Software\Classes\Teiler.Tafel' \
        'HKLM\Software\Teiler' 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Teiler'; do
        if "$wine" reg query "$key" >/dev/null 2>&1; then
            echo "the uninstaller left the registry key $key" >&2
            return 1
        fi
    done
}

installer_test() {
    stage "the installer under Wine: install, start, uninstall, all silent"
    local setup=$out/teiler-$version-setup.exe before installed got status
    installed="$WINEPREFIX/drive_c/Program Files/Teiler"
    before=$(drive_c_files)
    # Windows 7 is refused with exit code 2, and nothing is installed.
    "$wine" winecfg /v win7
    status=0
    "$wine" "$setup" /S || status=$?
    "$wineserver" -w
    "$wine" winecfg /v win10
    [ "$status" -eq 2 ] && [ "$before" = "$(drive_c_files)" ] ||
        { echo "the installer did not refuse Windows 7 (exit code $status)" >&2; return 1; }
    echo "Windows 7: refused with exit code 2"

    "$wine" "$setup" /S
    "$wineserver" -w
    [ -x "$installed/teiler.exe" ] || { echo "the installer put no teiler.exe into $installed" >&2; return 1; }
    check_links 'C:\Program Files\Teiler'
    "$wine" reg query 'HKLM\Software\Classes\.teiler' >/dev/null 2>&1 ||
        { echo "the installer did not register .teiler files" >&2; return 1; }
    got=$("$wine" 'C:\Program Files\Teiler\teiler.exe' --version 2>&1 | tr -d '\r')
    [ "$got" = "teiler $version" ] ||
        { echo "the installed teiler.exe --version printed \"$got\"" >&2; return 1; }
    echo "installed into C:\\Program Files\\Teiler: $(find "$installed" -type f | wc -l) files;" \
        "teiler.exe --version: $got; the links run in the installation folder"
    uninstall_and_compare "$installed/Deinstallieren.exe" "$before"
    echo "uninstalled: drive C: holds the same files as before the installation"

    # A folder given with /D= whose parents do not exist yet: the uninstaller removes them again.
    "$wine" "$setup" /S '/D=C:\Schule\Programme\Teiler'
    "$wineserver" -w
    [ -x "$WINEPREFIX/drive_c/Schule/Programme/Teiler/teiler.exe" ] ||
        { echo "the installer put no teiler.exe into C:\\Schule\\Programme\\Teiler" >&2; return 1; }
    check_links 'C:\Schule\Programme\Teiler'
    uninstall_and_compare "$WINEPREFIX/drive_c/Schule/Programme/Teiler/Deinstallieren.exe" "$before"
    echo "installed into and uninstalled from C:\\Schule\\Programme\\Teiler: C:\\Schule is gone again"
}

# HKLM\Software as reg lists it, without the empty keys Windows Installer keeps for itself.
hklm_software() {
    "$wine" reg query 'HKLM\Software' /s 2>/dev/null | tr -d '\r' | grep -v '^$' |
        grep -v -E '^HKEY_LOCAL_MACHINE\\Software\\(Classes\\Installer|Microsoft\\Windows\\CurrentVersion\\Installer)(\\|$)'
}

# The package installed and removed with msiexec /qn: the portable folder's files in
# Programme\Teiler, the links running there (Wine puts a package's links for all users into the
# user's Start menu), the file type opening a board; afterwards drive C: and HKLM\Software as
# before.
msi_test() {
    stage "the Windows Installer package under Wine: msiexec /qn, install and remove"
    local msi=$out/teiler-$version.msi before before_hklm installed got link
    installed="$WINEPREFIX/drive_c/Program Files/Teiler"
    before=$(drive_c_files)
    before_hklm=$(hklm_software)
    "$wine" msiexec /i "$(windows_path "$msi")" /qn
    "$wineserver" -w
    got=$(cd "$installed" 2>/dev/null && find . -type f | LC_ALL=C sort)
    [ "$got" = "$(cd "$out/$portable_name" && find . -type f | LC_ALL=C sort)" ] ||
        { echo "the package did not install the portable folder's files into $installed" >&2; return 1; }
    for link in "Teiler.lnk" "Teiler groß (Beamer).lnk"; do
        got=$(find "$WINEPREFIX/drive_c" -path "*/Start Menu/Programs/$link" | head -1)
        [ -n "$got" ] || { echo "the package made no Start-menu link \"$link\"" >&2; return 1; }
        # Windows Installer writes folders with a backslash at the end.
        strings -el "$got" | tr -d '\r' | grep -qxF -e 'C:\Program Files\Teiler' \
            -e 'C:\Program Files\Teiler\' ||
            { echo "\"$link\" does not run in C:\\Program Files\\Teiler" >&2; return 1; }
    done
    got=$("$wine" reg query 'HKLM\Software\Classes\Teiler.Tafel\shell\open\command' /ve 2>/dev/null |
        tr -d '\r' | sed -n 's/^ *(Default) *REG_SZ *//p')
    [ "$("$wine" reg query 'HKLM\Software\Classes\.teiler' /ve 2>/dev/null | tr -d '\r' |
        sed -n 's/^ *(Default) *REG_SZ *//p')" = "Teiler.Tafel" ] &&
        [ "$got" = '"C:\Program Files\Teiler\teiler.exe" --fit-board "%1"' ] ||
        { echo "the package registered .teiler as \"$got\"" >&2; return 1; }
    echo "installed: $(find "$installed" -type f | wc -l) files, the links, .teiler opens with: $got"
    # The board the wine smoke test kept, opened as Explorer opens it on a double click.
    bash tests/smoke/wine_open_board.sh "$out/smoke/tafel.teiler" "$out/smoke-board"
    remove_msi "$msi" "$before" "$before_hklm"
    echo "removed: drive C: and HKLM\\Software hold what they held before"
}

# The package removed with msiexec /x /qn must leave drive C: and HKLM\Software as they were.
remove_msi() {
    local msi=$1 before=$2 before_hklm=$3
    "$wine" msiexec /x "$(windows_path "$msi")" /qn
    "$wineserver" -w
    if [ "$before" != "$(drive_c_files)" ]; then
        diff <(echo "$before") <(drive_c_files) >&2 || true
        echo "removing the package left the files above" >&2
        return 1
    fi
    if [ "$before_hklm" != "$(hklm_software)" ]; then
        diff <(echo "$before_hklm") <(hklm_software) >&2 || true
        echo "removing the package left the registry entries above" >&2
        return 1
    fi
}

# teiler.exe --einstellungen must end with exit code 0 and print four lines, among them each
# line given.
expect_settings() {
    local exe=$1 got line status=0
    shift
    got=$("$wine" "$exe" --einstellungen 2>&1) || status=$?
    got=$(tr -d '\r' <<<"$got")
    [ "$status" -eq 0 ] && [ "$(wc -l <<<"$got")" -eq 4 ] || {
        echo "$got" >&2
        echo "teiler.exe --einstellungen ended with exit code $status after the lines above" >&2
        return 1
    }
    for line in "$@"; do
        grep -qxF -- "$line" <<<"$got" || {
            echo "$got" >&2
            echo "teiler.exe --einstellungen printed the lines above, not \"$line\"" >&2
            return 1
        }
    done
}

# Presets for all users, as a fresh user meets them: the example Vorgaben-Beispiel.reg imported
# with regedit /S into HKLM\Software\Teiler\Teiler, a user's own choice in HKCU against a preset
# that is not fixed and then against a fixed one, and last the package's properties. The user's
# own settings are kept aside and put back, HKLM\Software and drive C: are left as they were.
presets_test() {
    stage "presets for all users under Wine: the .reg example and the package's properties"
    local msi=$out/teiler-$version.msi saved=$out/hkcu-teiler.reg exe before before_hklm home got
    exe=$(windows_path "$out/$portable_name/teiler.exe")
    if "$wine" reg query 'HKLM\Software\Teiler' >/dev/null 2>&1; then
        echo "HKLM\\Software\\Teiler is there before the test; it would be removed" >&2
        return 1
    fi
    before=$(drive_c_files)
    before_hklm=$(hklm_software)
    # A run that failed left the user's settings aside: they go back first.
    if [ -f "$saved" ]; then
        "$wine" reg delete 'HKCU\Software\Teiler' /f >/dev/null 2>&1 || true
        "$wine" reg import "$(windows_path "$saved")" >/dev/null 2>&1
        rm -f "$saved"
    fi
    if "$wine" reg query 'HKCU\Software\Teiler' >/dev/null 2>&1; then
        "$wine" reg export 'HKCU\Software\Teiler' "$(windows_path "$saved")" /y >/dev/null
        "$wine" reg delete 'HKCU\Software\Teiler' /f >/dev/null
    fi

    # Without presets nothing is preset, and reading them makes no key in HKLM, which an
    # installation as administrator would leave behind.
    expect_settings "$exe" 'farbenblind = nein (ohne Vorgabe)' 'stiftmodus = nein (ohne Vorgabe)' \
        'zoom = 1 (ohne Vorgabe)'
    if "$wine" reg query 'HKLM\Software\Teiler' >/dev/null 2>&1; then
        "$wine" reg query 'HKLM\Software\Teiler' /s >&2 || true
        echo "teiler.exe --einstellungen made the registry keys above" >&2
        return 1
    fi
    echo "a fresh user without presets: nothing preset, and nothing written into HKLM"
    "$wine" regedit /S "$(windows_path "$out/$portable_name/Vorgaben-Beispiel.reg")"
    home=$("$wine" cmd /c 'echo %USERPROFILE%' | tr -d '\r')
    expect_settings "$exe" 'farbenblind = ja (Vorgabe)' 'stiftmodus = ja (Vorgabe)' \
        'zoom = fit (Vorgabe, fest)' "ordner = $home\\Documents\\Tafeln (Vorgabe)"
    echo "Vorgaben-Beispiel.reg imported with regedit /S: the four presets, the zoom fixed"
    # The installer's uninstaller takes its own values from HKLM\Software\Teiler, not the presets.
    "$wine" "$out/teiler-$version-setup.exe" /S
    "$wineserver" -w
    "$wine" "$WINEPREFIX/drive_c/Program Files/Teiler/Deinstallieren.exe" /S
    "$wineserver" -w
    expect_settings "$exe" 'farbenblind = ja (Vorgabe)' 'zoom = fit (Vorgabe, fest)'
    echo "installed and uninstalled with the installer: the presets stay"
    "$wine" reg add 'HKCU\Software\Teiler\Teiler' /v stiftmodus /d 0 /f >/dev/null
    expect_settings "$exe" 'stiftmodus = nein (eigene Wahl)' 'farbenblind = ja (Vorgabe)'
    "$wine" reg add 'HKLM\Software\Teiler\Teiler' /v fest /d 'zoom, stiftmodus' /f >/dev/null
    expect_settings "$exe" 'stiftmodus = ja (Vorgabe, fest)' 'zoom = fit (Vorgabe, fest)'
    echo "a user's own stiftmodus 0 goes before the preset 1, and not once the preset is fixed"
    "$wine" reg delete 'HKLM\Software\Teiler' /f >/dev/null
    "$wine" reg delete 'HKCU\Software\Teiler' /f >/dev/null

    "$wine" msiexec /i "$(windows_path "$msi")" /qn FARBEN=1 ZOOM=fit
    "$wineserver" -w
    expect_settings 'C:\Program Files\Teiler\teiler.exe' 'farbenblind = ja (Vorgabe)' \
        'stiftmodus = nein (ohne Vorgabe)' 'zoom = fit (Vorgabe)'
    # What Windows Installer writes for a property not given: Wine writes an empty REG_SZ.
    got=$("$wine" reg query 'HKLM\Software\Teiler\Paket' /v stiftmodus 2>/dev/null | tr -d '\r' |
        sed -n 's/^ *stiftmodus *\([A-Z_]*\) *\(.*\)$/\1 "\2"/p')
    echo "msiexec /qn FARBEN=1 ZOOM=fit: farbenblind and zoom preset; STIFT not given wrote" \
        "stiftmodus ${got:-(no value)} into HKLM\\Software\\Teiler\\Paket, which is no preset"
    remove_msi "$msi" "$before" "$before_hklm"
    if [ -f "$saved" ]; then
        "$wine" reg import "$(windows_path "$saved")" >/dev/null 2>&1
        rm -f "$saved"
    fi
    echo "removed: drive C: and HKLM\\Software as before, the user's own settings put back"
}

# The signature osslsigncode finds on a file must verify with the certificate given as the only one
# trusted.
check_signed() {
    local file=$1 cert=$2 log
    log=$(osslsigncode verify -CAfile "$cert" -in "$file" 2>&1) || {
        echo "$log" >&2
        echo "$(basename "$file") carries no signature made with $cert" >&2
        return 1
    }
    echo "$(basename "$file"): $(grep -m1 -o 'Subject: .*' <<<"$log")," \
        "$(grep -m1 -o 'Signature verification: .*' <<<"$log")"
}

# The packages once more, from the same build, into a temporary folder, signed with a throw-away
# self-signed certificate made here as a school would give its own: teiler.exe in the portable
# folder, the installer, the uninstaller it writes (installed silently to read it, then removed)
# and the MSI package must each carry a signature made with that certificate, and one another
# certificate does not verify. The unsigned packages of the build must carry none.
signing_test() {
    stage "the packages signed with a throw-away certificate"
    local start=$SECONDS tmp file log
    if [ -n "${TEILER_SIGN_CERT:-}" ]; then
        echo "built with TEILER_SIGN_CERT: its signatures are not checked here"
    else
        for file in "$out/$portable_name/teiler.exe" "$out/teiler-$version-setup.exe" \
            "$out/teiler-$version.msi"; do
            log=$(osslsigncode verify -in "$file" 2>&1) || true
            grep -q -E 'No signature found|has no signature' <<<"$log" || {
                echo "$log" >&2
                echo "$(basename "$file") was signed without TEILER_SIGN_CERT" >&2
                return 1
            }
        done
        echo "without TEILER_SIGN_CERT: teiler.exe, the installer and the MSI package are unsigned"
    fi

    tmp=$(mktemp -d)
    local name
    for name in schule andere; do
        openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=Teiler Testsignatur $name" \
            -addext extendedKeyUsage=codeSigning -keyout "$tmp/$name.key" -out "$tmp/$name.pem" \
            2>/dev/null
    done
    (
        unset TEILER_SIGN_KEY TEILER_SIGN_TIMESTAMP
        export TEILER_SIGN_CERT=$tmp/schule.p12 TEILER_SIGN_PASS=nur-zum-testen
        openssl pkcs12 -export -in "$tmp/schule.pem" -inkey "$tmp/schule.key" \
            -out "$TEILER_SIGN_CERT" -passout env:TEILER_SIGN_PASS
        pack=$tmp/signiert
        mkdir -p "$pack"
        make_portable
        make_installer
        make_msi
    )
    local signed=$tmp/signiert folder="$WINEPREFIX/drive_c/Signiert" before
    check_signed "$signed/$portable_name/teiler.exe" "$tmp/schule.pem"
    check_signed "$signed/teiler-$version-setup.exe" "$tmp/schule.pem"
    check_signed "$signed/teiler-$version.msi" "$tmp/schule.pem"
    before=$(drive_c_files)
    "$wine" "$signed/teiler-$version-setup.exe" /S '/D=C:\Signiert'
    "$wineserver" -w
    check_signed "$folder/Deinstallieren.exe" "$tmp/schule.pem"
    cmp -s "$folder/teiler.exe" "$signed/$portable_name/teiler.exe" ||
        { echo "the signed installer installed another teiler.exe" >&2; return 1; }
    uninstall_and_compare "$folder/Deinstallieren.exe" "$before"
    if osslsigncode verify -CAfile "$tmp/andere.pem" -in "$signed/teiler-$version-setup.exe" \
        >/dev/null 2>&1; then
        echo "the installer's signature verifies with another certificate" >&2
        return 1
    fi
    echo "another certificate does not verify the installer; the signed uninstaller removed" \
        "the installation"
    rm -rf "$tmp"
    echo "signed, packed, checked and installed once in $((SECONDS - start)) s"
}

case "${1:-}" in
build)
    build_all
    ;;
test)
    build_all
    wine_prefix
    windows_tests
    wine_smoke_test
    installer_test
    msi_test
    presets_test
    signing_test
    ;;
*)
    echo "usage: $0 build|test" >&2
    exit 2
    ;;
esac
