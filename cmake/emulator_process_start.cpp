// Preloaded into the test programs when they run under qemu's user-mode emulator (Debian 12's 7.2),
// so that they can start processes, the test servers among them. Qt starts a process by a clone that
// asks for a process file descriptor, which that emulator refuses; Qt asks the kernel first whether it
// has such descriptors, by a raw waitid. Told that it has none, Qt forks the classic way.
#include <dlfcn.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>

#include <sys/syscall.h>

namespace {

// waitid's kind of id that is a process file descriptor.
constexpr long kPidfdKind = 3;

using TSyscall = long (*)(long, ...);

// The library is not handed on to the programs the test programs start: they are the machine's own.
__attribute__((constructor)) void ForgetPreload() {
    unsetenv("LD_PRELOAD");
}

} // namespace

extern "C" long syscall(long number, ...) {
    va_list list;
    va_start(list, number);
    long a[6];
    for (long& value : a)
        value = va_arg(list, long);
    va_end(list);
    if (number == SYS_waitid && a[0] == kPidfdKind) {
        errno = ENOSYS;
        return -1;
    }
    static const auto next = reinterpret_cast<TSyscall>(dlsym(RTLD_NEXT, "syscall"));
    return next(number, a[0], a[1], a[2], a[3], a[4], a[5]);
}
