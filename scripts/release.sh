#!/bin/bash
# Builds the release archive build/release/Tintmark-<version>.zip:
#   Tintmark-<version>/32bit-x86/Tintmark.exe   for every Windows from 95 and NT 4.0 to 11
#   Tintmark-<version>/64bit-x64/Tintmark.exe   for 64-bit Windows
#   Tintmark-<version>/readme.txt               packaging/readme.txt in Shift_JIS with CR LF
#   Tintmark-<version>/readme-utf8.txt          the same in UTF-8, for a Windows of another language
#   Tintmark-<version>/readme-en.txt            packaging/readme-en.txt, in ASCII with CR LF
# Reproducible: the same commit gives the same bytes wherever it is built. The programs carry no
# link time, and every file in the archive carries the time of the commit (SOURCE_DATE_EPOCH if
# set), in a fixed order, without owners or extra time stamps.
set -euo pipefail
# shellcheck source=scripts/lib.sh
source "$(dirname "$0")/lib.sh"
cd "$TINTMARK_ROOT"

scripts/setup.sh g++-mingw-w64-i686 zip
version=$(sed -nE 's/^project\(Tintmark VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
[[ -n $version ]] || { echo "release: no version in CMakeLists.txt" >&2; exit 1; }
name=Tintmark-$version
out=$TINTMARK_ROOT/build/release
if [[ -n $(git status --porcelain --untracked-files=no 2>/dev/null) ]]; then
  echo "release: the working tree has uncommitted changes; the archive will not match the commit" >&2
fi
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 0)}

# Builds of their own, without tests, so that nothing else configured in build/win leaks in.
declare -A folder=([x86]=32bit-x86 [x64]=64bit-x64)
stage=$out/stage/$name
rm -rf "$out/stage" "$out/$name.zip"
for arch in x86 x64; do
  dir=$out/$arch
  cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$(win_toolchain "$arch")" \
    -DCMAKE_BUILD_TYPE=Release -DTINTMARK_BUILD_TESTS=OFF >/dev/null
  cmake --build "$dir" -j2 --target Tintmark
  mkdir -p "$stage/${folder[$arch]}"
  cp "$dir/Tintmark.exe" "$stage/${folder[$arch]}/"
done
# The read-me as Japanese freeware ships it, in Shift_JIS (code page 932) with CR LF: Notepad reads
# that on every Japanese Windows, back to 95 and NT 4.0, which read no UTF-8. Its first line, in
# ASCII, points a Windows of another language to the UTF-8 copy, which Notepad reads from XP on.
# A character code page 932 cannot hold, or holds only as another one, stops the release.
readme=$out/stage/readme.txt
{ echo "(If the text below does not read, open readme-utf8.txt: the same in UTF-8."
  echo " In English: readme-en.txt.)"; echo
  cat packaging/readme.txt; } | sed 's/$/\r/' >"$readme"
iconv -f UTF-8 -t CP932 "$readme" >"$stage/readme.txt"
iconv -f CP932 -t UTF-8 "$stage/readme.txt" | cmp -s - "$readme" ||
  { echo "release: the read-me does not survive code page 932 unchanged" >&2; exit 1; }
rm "$readme"
{ printf '\xef\xbb\xbf'; sed 's/$/\r/' packaging/readme.txt; } >"$stage/readme-utf8.txt"
# The English read-me in ASCII, which every Notepad reads whatever the system's code page.
LC_ALL=C grep -q '[^ -~]' packaging/readme-en.txt &&
  { echo "release: packaging/readme-en.txt holds a character outside ASCII" >&2; exit 1; }
sed 's/$/\r/' packaging/readme-en.txt >"$stage/readme-en.txt"

find "$out/stage" -type d -exec chmod 755 {} + -o -type f -exec chmod 644 {} +
find "$out/stage" -exec touch -h -d "@$epoch" {} +
# zip stores local time: UTC everywhere. -X: no owners, no extra time stamps; -D: no folder entries.
(cd "$out/stage" && find "$name" -type f | LC_ALL=C sort |
  TZ=UTC zip -X -D -9 -q "$out/$name.zip" -@)

echo "$out/$name.zip"
(cd "$out" && sha256sum "$name.zip" && cd stage && find "$name" -type f | LC_ALL=C sort |
  xargs sha256sum)
