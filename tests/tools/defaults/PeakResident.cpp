// peak_resident PROGRAM [ARGUMENT...]: runs the program with the arguments,
// passing its standard streams through, and then writes its peak resident
// size to standard error as "peak resident KiB: N". Exits as the program did.
//
// The size is only the program's own when the process that starts it is
// small: the kernel folds the memory of the process a child was forked from
// into the child's peak, so a test process large with its own work (or with
// a sanitizer's quarantine) cannot measure its children directly.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: peak_resident PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        std::perror("peak_resident: fork");
        return 2;
    }
    if (child == 0) {
        ::execv(argv[1], argv + 1);
        std::perror("peak_resident: exec");
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (::wait4(child, &status, 0, &usage) != child) {
        std::perror("peak_resident: wait4");
        return 2;
    }
    std::fprintf(stderr, "peak resident KiB: %ld\n", usage.ru_maxrss);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
