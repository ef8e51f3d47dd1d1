/* Preloaded into the 32-bit programs that scripts/emulate-i386.sh runs under qemu-user 7.2, which
 * takes MAP_FIXED_NOREPLACE for a mere hint and maps elsewhere when the place is taken. 32-bit
 * Wine reserves its address space by halving a range until each piece maps where asked, and keeps
 * the pieces mapped elsewhere above 2 GiB: so every later try there is moved too, some 65,000
 * tries of a full page scan each, two minutes per started program. Failing as the kernel does
 * (EEXIST) makes that a few hundred tries and the start about a second.
 * Built without the C library's i386 headers, which a 64-bit machine need not have. */
typedef unsigned int size_t;
typedef long long off64_t;
extern void *dlsym(void *handle, const char *name);
extern int munmap(void *address, size_t length);
extern int *__errno_location(void);
#define RTLD_NEXT ((void *)-1l)
#define MAP_FAILED ((void *)-1)
#define MAP_FIXED_NOREPLACE 0x100000
#define EEXIST 17

static void *refuse_moved(void *wanted, void *got, size_t length, int flags) {
  if (!(flags & MAP_FIXED_NOREPLACE) || got == MAP_FAILED || got == wanted) return got;
  munmap(got, length);
  *__errno_location() = EEXIST;
  return MAP_FAILED;
}

void *mmap64(void *address, size_t length, int protection, int flags, int fd, off64_t offset) {
  static void *(*next)(void *, size_t, int, int, int, off64_t);
  if (!next) next = (void *(*)(void *, size_t, int, int, int, off64_t))dlsym(RTLD_NEXT, "mmap64");
  return refuse_moved(address, next(address, length, protection, flags, fd, offset), length, flags);
}

void *mmap(void *address, size_t length, int protection, int flags, int fd, long offset) {
  static void *(*next)(void *, size_t, int, int, int, long);
  if (!next) next = (void *(*)(void *, size_t, int, int, int, long))dlsym(RTLD_NEXT, "mmap");
  return refuse_moved(address, next(address, length, protection, flags, fd, offset), length, flags);
}
