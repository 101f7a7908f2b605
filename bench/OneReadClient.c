/* The least a program can do to read one register: open the line, send the request, wait for the
   reply with a time-out, print it. The peer of one vireoctl read in one_command_bench.

     one_read_client DEVICE     (prints the payload of the reply to register 0x20) */
#include <fcntl.h>
#include <poll.h>
#include <stdio.h>
#include <string.h>
#include <termios.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const int fd = open(argv[1], O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    struct termios tio;
    if (fd < 0 || tcgetattr(fd, &tio) != 0)
        return 1;
    cfmakeraw(&tio);
    cfsetspeed(&tio, B9600);
    tcsetattr(fd, TCSANOW, &tio);
    static const char request[] = "\x02"
                                  "20RQ\x03";
    if (write(fd, request, sizeof request - 1) != (ssize_t)(sizeof request - 1))
        return 1;
    char reply[64];
    size_t got = 0;
    while (got < sizeof reply) {
        struct pollfd entry = {fd, POLLIN, 0};
        if (poll(&entry, 1, 3000) <= 0)
            return 1;
        const ssize_t n = read(fd, reply + got, sizeof reply - got);
        if (n <= 0)
            return 1;
        got += (size_t)n;
        if (memchr(reply, 0x03, got))
            break;
    }
    const char* end = memchr(reply, 0x03, got);
    if (!end || reply[0] != 0x02)
        return 1;
    printf("%.*s\n", (int)(end - reply - 1), reply + 1);
    return 0;
}
