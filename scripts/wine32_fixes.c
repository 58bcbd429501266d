/* Preloaded by scripts/wine32.sh into wine's 32-bit loader running under qemu-i386 7.2, it
 * mends two faults of that emulator which 32-bit wine trips over:
 *
 * - mmap with MAP_FIXED_NOREPLACE: qemu takes the address as a mere hint and maps elsewhere
 *   when it is taken. Wine then keeps the stray blocks, takes minutes and fails with "failed to
 *   map the shared user data: c0000018". Here such a request fails with EEXIST, as on a kernel.
 * - a page fault of the emulated program reaches wine's SIGSEGV handler with trap number -1,
 *   which wine reports as an illegal instruction (c000001d) instead of an access violation
 *   (c0000005). Here the handler sees trap number 14, a page fault.
 *
 * Built with gcc -m32 -nostdlib -nostdinc: it declares the little it uses from the C library
 * itself, so no 32-bit C library files are needed to build it. */

typedef unsigned int size_t32;

extern long syscall(long number, ...);
extern int *__errno_location(void);
extern void *dlsym(void *handle, const char *name);

#define RTLD_NEXT ((void *)-1l)
#define SYS_munmap 91
#define SYS_mmap2 192
#define MAP_FIXED 0x10
#define MAP_FIXED_NOREPLACE 0x100000
#define MAP_FAILED ((void *)-1)
#define EEXIST 17
#define EINVAL 22
#define PAGE_SHIFT 12
#define SIGSEGV 11
#define SA_SIGINFO 4
#define REG_TRAPNO 12
#define TRAP_PAGE_FAULT 14

void *mmap64(void *address, size_t32 length, int protection, int flags, int fd, long long offset)
{
    void *mapped;
    if (offset & ((1 << PAGE_SHIFT) - 1)) {
        *__errno_location() = EINVAL;
        return MAP_FAILED;
    }
    if (!(flags & MAP_FIXED_NOREPLACE) || (flags & MAP_FIXED))
        return (void *)syscall(SYS_mmap2, address, length, protection, flags, fd,
                               (unsigned long)(offset >> PAGE_SHIFT));
    mapped = (void *)syscall(SYS_mmap2, address, length, protection,
                             flags & ~MAP_FIXED_NOREPLACE, fd,
                             (unsigned long)(offset >> PAGE_SHIFT));
    if (mapped == MAP_FAILED || mapped == address)
        return mapped;
    syscall(SYS_munmap, mapped, length);
    *__errno_location() = EEXIST;
    return MAP_FAILED;
}

void *mmap(void *address, size_t32 length, int protection, int flags, int fd, long offset)
{
    return mmap64(address, length, protection, flags, fd, offset);
}

/* struct sigaction of the i386 C library. */
typedef void (*signal_handler)(int signal, void *info, void *context);
struct i386_sigaction {
    signal_handler handler;
    unsigned int mask[32];
    int flags;
    void *restorer;
};

static signal_handler wine_segv_handler;

static void segv_handler(int signal, void *info, void *context)
{
    /* i386 ucontext_t: uc_flags, uc_link and the three words of uc_stack, then the registers. */
    int *registers = (int *)context + 5;
    if (registers[REG_TRAPNO] == -1)
        registers[REG_TRAPNO] = TRAP_PAGE_FAULT;
    wine_segv_handler(signal, info, context);
}

int sigaction(int signal, const struct i386_sigaction *action, struct i386_sigaction *old)
{
    static int (*next_sigaction)(int, const struct i386_sigaction *, struct i386_sigaction *);
    struct i386_sigaction wrapped;
    if (!next_sigaction)
        next_sigaction = dlsym(RTLD_NEXT, "sigaction");
    /* Handlers 0 and 1 are SIG_DFL and SIG_IGN. */
    if (signal == SIGSEGV && action && (action->flags & SA_SIGINFO) &&
        (unsigned long)action->handler > 1) {
        wrapped = *action;
        wine_segv_handler = action->handler;
        wrapped.handler = segv_handler;
        action = &wrapped;
    }
    return next_sigaction(signal, action, old);
}
