/* Loaded into the real program with LD_PRELOAD by the end-to-end runs: every change of the
 * RTS and DTR lines is written with its time to the file named by KEYLINE_LOG, and the
 * change is taken as done, so that a pseudo-terminal stands in for a keying port (a pty has
 * no modem lines of its own). */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

static int g_lines; /* the modem lines as the program set them */

static void note(const char* what) {
    const char* path = getenv("KEYLINE_LOG");
    if (path == NULL) {
        return;
    }
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    char text[96];
    int n = snprintf(text, sizeof text, "%lld.%03ld %s RTS %d DTR %d\n", (long long)now.tv_sec,
                     now.tv_nsec / 1000000, what, (g_lines & TIOCM_RTS) ? 1 : 0, (g_lines & TIOCM_DTR) ? 1 : 0);
    int fd = open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd >= 0) {
        (void)!write(fd, text, (size_t)n);
        close(fd);
    }
}

int ioctl(int fd, unsigned long request, ...) {
    static int (*real)(int, unsigned long, ...);
    if (real == NULL) {
        real = (int (*)(int, unsigned long, ...))dlsym(RTLD_NEXT, "ioctl");
    }
    va_list args;
    va_start(args, request);
    void* arg = va_arg(args, void*);
    va_end(args);
    switch (request) {
    case TIOCMBIS:
        g_lines |= *(int*)arg;
        note("set");
        return 0;
    case TIOCMBIC:
        g_lines &= ~*(int*)arg;
        note("clear");
        return 0;
    case TIOCMSET:
        g_lines = *(int*)arg;
        note("assign");
        return 0;
    case TIOCMGET:
        *(int*)arg = g_lines;
        return 0;
    default:
        return real(fd, request, arg);
    }
}
