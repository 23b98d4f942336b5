#!/usr/bin/env bash
# Builds what a Windows operator installs: the portable zip and the installer, from one Release
# build for Windows (as root on a fresh Debian 12 it installs what it needs and builds the
# toolchain first when its cache is empty). The program folder is staged in
# build-windows-release/stage/ (the zip's folder), checked for DLLs it would miss on Windows, then
# zipped and packed by makensis. Prints the zip's and the installer's paths on its last two lines.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
source scripts/cross.sh
vardo_require_packages "${VARDO_BUILD_PACKAGES[@]}" "${VARDO_WINDOWS_PACKAGES[@]}" \
    "${VARDO_WINDOWS_PACKAGE_PACKAGES[@]}"

build=build-windows-release
stage="$PWD/$build/stage"

toolchain="$(scripts/windows-toolchain.sh all | tail -1)"
export VARDO_WINDOWS_QT="$toolchain/qt"

echo "== host tools"
vardo_build_host_tools

echo "== Windows build (Release)"
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DVARDO_TESTS=OFF -DVARDO_BENCH=OFF \
    -DVARDO_HOST_TOOLS="$vardo_host_tools" >/dev/null
cmake --build "$build" --target windows_package_contents -j "$(nproc)"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
[ -n "$version" ] || { echo "the project's version is not in $build/CMakeCache.txt" >&2; exit 1; }

echo "== program folder"
rm -rf "$stage"
cmake --install "$build" --prefix "$stage" --strip >/dev/null
# The DLLs come from the toolchain and the compiler with their symbols: stripped as Debian strips
# its libraries, they are a third of the size.
find "$stage" -iname '*.dll' -exec x86_64-w64-mingw32-strip --strip-unneeded {} +

# The DLLs every Windows 10 and 11 has: what a program or library of the folder imports must be
# one of these or lie in the folder itself.
declare -A system_dll
for dll in advapi32 authz bcrypt comctl32 comdlg32 crypt32 d3d11 d3d9 dwmapi dwrite dxgi gdi32 \
    imm32 kernel32 mpr msvcrt netapi32 ntdll ole32 oleaut32 rpcrt4 secur32 setupapi shcore shell32 \
    shlwapi user32 userenv uxtheme version winmm ws2_32 wtsapi32; do
    system_dll[$dll.dll]=1
done
check_imports() { # folder
    local file dll missing=0
    while IFS= read -r -d '' file; do
        while read -r dll; do
            dll="${dll,,}"
            [[ -n "${system_dll[$dll]:-}" || "$dll" == api-ms-win-* ]] && continue
            find "$1" -maxdepth 1 -iname "$dll" | grep -q . && continue
            echo "${file#"$1"/} imports $dll, which is neither in the program folder" \
                "nor part of Windows" >&2
            missing=1
        done < <(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p')
    done < <(find "$1" -type f \( -iname '*.exe' -o -iname '*.dll' \) -print0)
    return "$missing"
}
check_imports "$stage"

# The zip: the program folder as Vardo\, its files in a fixed order and dated at the last commit
# rather than at the build.
echo "== zip"
zip="$PWD/$build/vardo-$version-windows-x64.zip"
zipped="$PWD/$build/zip"
rm -rf "$zip" "$zipped"
mkdir -p "$zipped"
cp -a "$stage" "$zipped/Vardo"
stamp="$(git log -1 --format=%ct 2>/dev/null || date +%s)"
find "$zipped/Vardo" -exec touch -h -d "@$stamp" {} +
(cd "$zipped" && find Vardo | LC_ALL=C sort | zip -X -q -9 "$zip" -@)
rm -rf "$zipped"

# The installer: install.nsh puts every file of the folder in place, uninstall.nsh removes those
# files and the folders they made, deepest first, and nothing else.
echo "== installer"
setup="$PWD/$build/vardo-$version-windows-x64-setup.exe"
lists="$PWD/$build/nsis"
rm -rf "$lists" "$setup"
mkdir -p "$lists"
# A folder of the staging folder as NSIS names it under the installation folder.
install_folder() {
    local folder="${1#.}"
    folder="${folder#/}"
    printf '%s' "\$INSTDIR${folder:+\\${folder//\//\\}}"
}
(
    cd "$stage"
    find . -type d | LC_ALL=C sort | while read -r folder; do
        printf 'SetOutPath "%s"\n' "$(install_folder "$folder")"
        find "$folder" -maxdepth 1 -type f | LC_ALL=C sort | while read -r file; do
            printf 'File "%s"\n' "$stage/${file#./}"
        done
    done
) >"$lists/install.nsh"
(
    cd "$stage"
    find . -type f | LC_ALL=C sort | while read -r file; do
        printf 'Delete "%s\\%s"\n' "$(install_folder "$(dirname "$file")")" "$(basename "$file")"
    done
    find . -mindepth 1 -type d | LC_ALL=C sort -r | while read -r folder; do
        printf 'RMDir "%s"\n' "$(install_folder "$folder")"
    done
) >"$lists/uninstall.nsh"
# Windows' file version has four numbers.
file_version="$(echo "$version.0.0.0" | cut -d. -f1-4)"
makensis -V2 -DVERSION="$version" -DFILE_VERSION="$file_version" -DSTAGE="$stage" -DLISTS="$lists" \
    -DOUTFILE="$setup" packaging/windows/vardo.nsi

echo "$zip"
echo "$setup"
