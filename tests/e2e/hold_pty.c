/* Holds a pseudo-terminal open for the end-to-end runs: prints the name of its terminal
 * side, then reads and drops whatever the program writes to it until it is killed. */
#define _XOPEN_SOURCE 600
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

int main(void) {
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        perror("pty");
        return 1;
    }
    printf("%s\n", ptsname(master));
    fflush(stdout);
    char buffer[256];
    for (;;) {
        if (read(master, buffer, sizeof buffer) < 0) {
            sleep(1); /* no terminal side open yet */
        }
    }
}
