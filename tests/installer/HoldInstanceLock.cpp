// Takes the program's instance lock, as a copy of the program that is still starting
// holds it before any of its windows exist, until its standard input ends.
// Prints "held" once the lock is taken (exit status 1 when another copy holds it).
#include "app/win32/InstanceLock.h"

#include <cstdio>

int wmain() {
    korvan::win::InstanceLock lock;
    if (!lock.First()) return 1;
    std::puts("held");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return 0;
}
