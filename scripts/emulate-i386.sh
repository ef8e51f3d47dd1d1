#!/bin/bash
# Runs a command with every 32-bit x86 (i386) Linux program it starts emulated by qemu-user:
#   scripts/emulate-i386.sh COMMAND [ARG...]
# For kernels that refuse 32-bit programs (32-bit Wine needs them). The command runs in a user and
# mount namespace of its own, whose own binfmt_misc (Linux 6.7 and later) hands i386 programs to
# qemu-i386-static; the machine's binfmt_misc is neither read nor written. binfmt_misc is asked
# before the kernel's own loader, so this emulates also where the kernel would run them itself.
# The process keeps its ID (no fork), so a caller may wait for it or end it.
set -eu
here=$(dirname "$0")

if [[ ${1:-} != --in-namespace ]]; then
  exec unshare --map-root-user --mount "$0" --in-namespace "$(id -u)" "$(id -g)" "$@"
fi
uid=$2 gid=$3
shift 3

# preload_library: prints the path of preload.c built as an i386 library, built once in
# build/emulate-i386 (again when the source changes).
preload_library() {
  local source=$here/emulate-i386/preload.c
  local library=$here/../build/emulate-i386/preload.so
  if [[ ! $library -nt $source ]]; then
    mkdir -p "${library%/*}"
    # Built beside it and renamed: wine calls run side by side.
    gcc -m32 -O2 -fPIC -shared -nostdlib -o "$library.$$" "$source" && mv -f "$library.$$" "$library"
  fi
  realpath "$library"
}
qemu=/usr/bin/qemu-i386-static
[[ -x $qemu ]] || { echo "emulate-i386: no $qemu (package qemu-user-static)" >&2; exit 127; }
mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
# ELF, 32-bit, little-endian, an executable or a shared object (Wine's preloader), machine i386.
# F: qemu is opened now, so that it is found whatever the program's own root; P: argv[0] kept.
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xff\xff\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
echo ":i386:M::$magic:$mask:$qemu:FP" >/proc/sys/fs/binfmt_misc/register
# 32-bit Wine reserves the whole 32-bit address space; qemu holds it for the guest, all of it up
# to the last 64 KiB, which Wine leaves alone (each address it may not have costs Wine a try).
export QEMU_RESERVED_VA=0xffff0000
# MAP_FIXED_NOREPLACE as the kernel does it: see preload.c. QEMU_SET_ENV reaches the emulated
# programs only, not the 64-bit ones around them.
export QEMU_SET_ENV=LD_PRELOAD=$(preload_library)
# Only the namespace's root may register; the command runs as its user again, since Wine names its
# server's folder after the user ID. A namespace inside sees the registration of the one around it.
[[ $uid == 0 ]] || exec unshare --map-user="$uid" --map-group="$gid" "$@"
exec "$@"
