#!/bin/bash
# scripts/setup.sh against a package source that fails one index, as a mirror in mid-sync does.
# A fake apt-get, dpkg and dpkg-query come first on the path, inside this test's own folder, over
# a copy of the scripts: the machine's real sources and packages are never touched.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {  # check DESCRIPTION COMMAND...
  if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1"; failures=$((failures + 1)); fi
}

mkdir -p "$work/tree/scripts" "$work/bin" "$work/state"
cp "$root/scripts/setup.sh" "$root/scripts/lib.sh" "$work/tree/scripts/"
cat >"$work/bin/apt-get" <<'EOF'
#!/bin/bash
# The fake package manager. $FAKE/broken: the update fails one i386 index; $FAKE/no-fallback:
# 32-bit Wine resolves from no suite; otherwise it resolves from the release's suite alone.
echo "$*" >>"$FAKE/calls"
case " $* " in
  *" update "*)
    [[ -f $FAKE/broken ]] || exit 0
    echo "Err:6 http://mirror.invalid/debian-security bookworm-security/main i386 Packages"
    echo "  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 192.0.2.1 80]"
    echo "E: Failed to fetch http://mirror.invalid/.../Packages.xz  File has unexpected size"
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
    exit 100 ;;
  *" wine32:i386 "*)
    if [[ -f $FAKE/broken && ( -f $FAKE/no-fallback || " $* " != *" -t "* ) ]]; then
      echo " libwine:i386 : Depends: libgstreamer-plugins-base1.0-0:i386 but it is not going to be installed"
      echo "E: Unable to correct problems, you have held broken packages."
      exit 100
    fi ;;
esac
for arg in "$@"; do [[ $arg == -* || $arg == install || $arg == env ]] || echo "$arg" >>"$FAKE/installed"; done
EOF
cat >"$work/bin/dpkg-query" <<'EOF'
#!/bin/bash
grep -qx "${@: -1}" "$FAKE/installed" 2>/dev/null && printf 'install ok installed'
EOF
cat >"$work/bin/dpkg" <<'EOF'
#!/bin/bash
case $1 in
  --print-foreign-architectures) cat "$FAKE/arches" 2>/dev/null ;;
  --add-architecture) echo "$2" >>"$FAKE/arches" ;;
esac
EOF
chmod +x "$work/bin/"*

# setup [FLAG...]: runs the copied setup.sh with a fresh fake machine; its status in $status.
setup() {
  rm -rf "$work/state" "$work/tree/build"
  mkdir -p "$work/state"
  printf '%s\n' binutils >"$work/state/installed"
  for flag in "$@"; do touch "$work/state/$flag"; done
  FAKE=$work/state PATH="$work/bin:$PATH" TINTMARK_APT_PAUSE=0 TINTMARK_NO_32BIT=0 \
    TINTMARK_EMULATE_32BIT=0 bash "$work/tree/scripts/setup.sh" "${args[@]}" >"$work/out" 2>&1
  status=$?
}
installed() { grep -qx "$1" "$work/state/installed"; }
asked() { grep -q -- "$1" "$work/state/calls"; }
said() { grep -q -- "$1" "$work/out"; }

args=()
setup broken
check "running the x64 program asks for no i386 package on a bad day" \
  eval '[[ $status -eq 0 ]] && installed wine64 && ! asked i386 && [[ ! -s $work/state/arches ]]'

args=(--tests --x86)
setup
check "on a good day everything is installed at once" \
  eval '[[ $status -eq 0 ]] && installed wine32:i386 && installed clang && ! asked " -t "'

setup broken
check "a failed index is named with apt's reason, and the install goes on" \
  eval 'said "bookworm-security/main i386 Packages: File has unexpected size (374820 != 376004). Mirror sync in progress?" && installed clang'
check "32-bit Wine comes in one transaction with the rest from the release's own suite" \
  eval '[[ $status -eq 0 ]] && installed wine32:i386 && grep -q -- "-t .* wine64 .*wine32:i386" "$work/state/calls"'
check "the update is tried again before an index is given up" \
  eval '[[ $(grep -c "update" "$work/state/calls") -eq 2 ]]'

setup broken no-fallback
note=$work/tree/build/wine32-missing
check "when 32-bit Wine cannot be had, the rest is installed and setup says why (status 3)" \
  eval '[[ $status -eq 3 ]] && installed wine64 && installed clang && ! installed wine32:i386'
check "the reason kept for the test command holds apt's words and the index" \
  eval 'grep -q "held broken packages" "$note" && grep -q "bookworm-security/main i386 Packages" "$note"'
check "the test command's reason for leaving out the x86 runs is apt's" \
  eval '[[ $(WINE32_LOADER=/nonexistent bash -c "source $work/tree/scripts/lib.sh; i386_road; no_32bit_reason") == "none
32-bit Wine (wine32:i386) could not be installed: "*"held broken packages"* ]]'

[[ $failures -eq 0 ]] || { echo "--- the last setup said:"; cat "$work/out"; }
echo "$failures failed"
[[ $failures -eq 0 ]]
