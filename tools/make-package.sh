#!/usr/bin/env bash
# Makes the release zip of a Windows build and, with --check, installs it in
# a fresh folder and runs a filter from there as a user would.
#   tools/make-package.sh BUILD_DIR [--check]
# The zip is BUILD_DIR/package/Tuvex-VERSION-ARCH.zip; its entries carry the
# time of the last commit (SOURCE_DATE_EPOCH), in a fixed order.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
check=${2:-}
version=$(sed -n 's/^project(Tuvex VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
if i686-w64-mingw32-objdump -f "$build/bin/Tuvex.dll" | grep -q 'pei-i386'; then arch=win32; else arch=win64; fi
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 315532800)}

stage=$build/package/Tuvex-$version-$arch
rm -rf "$stage"
mkdir -p "$stage"
cp "$build/bin/Tuvex.dll" "$build/bin/tuvex_host.exe" "$stage/"
cp "$root/samples/Tuvex.ini" "$root/samples/TuvexW.ini" "$root/samples/TuvexUtf8.ini" "$root/samples/Tuvex.conf" "$stage/"
cp -r "$root/samples/scripts" "$stage/scripts"
# The guides as Windows editors take them: CR LF and a UTF-8 byte-order mark,
# without which a Japanese editor reads them as Shift_JIS.
for language in en ja; do
  { printf '\xEF\xBB\xBF'; sed 's/\r*$/\r/' "$root/docs/guide-$language.md"; } > "$stage/README-$language.txt"
done
find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
zip=$build/package/Tuvex-$version-$arch.zip
rm -f "$zip"
(cd "$build/package" && find "Tuvex-$version-$arch" -type f | LC_ALL=C sort | TZ=UTC zip -q -X -D "$zip" -@)
echo "make-package: wrote $zip"

[[ $check == --check ]] || exit 0
# As a user would: unpack into a new folder, then run a filter from there.
install=$build/package/installed-$arch
rm -rf "$install"
mkdir -p "$install"
unzip -q "$zip" -d "$install"
for guide in "$install/Tuvex-$version-$arch"/README-*.txt; do
  if [[ $(head -c 3 "$guide" | od -An -tx1 | tr -d ' ') != efbbbf ]] || grep -qv $'\r$' "$guide"; then
    echo "make-package: $guide lacks its byte-order mark or CR LF line ends" >&2
    exit 1
  fi
done
printf 'apple\r\nbanana\r\n' > "$install/Tuvex-$version-$arch/text.txt"
folder="Z:$(sed 's|/|\\|g' <<< "$install/Tuvex-$version-$arch")"
got=$(bash "$root/tools/wine-run.sh" --arch "$arch" --prefix "$build/wineprefix" \
      "$install/Tuvex-$version-$arch/tuvex_host.exe" filter Tuvex --param 'find|"an"' --in "$folder\\text.txt" | tr -d '\r')
# The sample menus pass the menu-file doctor, but for the programs that a
# Windows machine has and this one lacks (sort, Perl, Python, the scripts in
# C:\Tools\Tuvex).
for menu in Tuvex TuvexW TuvexUtf8; do
  doctor_status=0
  bash "$root/tools/wine-run.sh" --arch "$arch" --prefix "$build/wineprefix" \
    "$install/Tuvex-$version-$arch/tuvex_host.exe" menu "$menu" > "$install/doctor.txt" || doctor_status=$?
  if ((doctor_status > 1)) || tr -d '\r' < "$install/doctor.txt" | grep -E '^  (line [0-9]+|the file): ' |
       grep -qvE ' is found nowhere: | does not exist: '; then
    echo "make-package: the sample $menu.ini has findings:" >&2; cat "$install/doctor.txt" >&2; exit 1
  fi
done
rm -rf "$install"
if [[ $got != banana ]]; then
  echo "make-package: the installed filter gave [$got], not [banana]" >&2
  exit 1
fi
echo "make-package: the installed package filters text"
