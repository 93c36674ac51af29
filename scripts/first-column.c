// first-column PROGRAM [ARG...]: starts PROGRAM and prints, in ms since the start, when the
// screen's pixel (100,300) turns white (the window's fresh bitmap) and when (618,300) then stops
// being white (the first column), "-" for what was not seen within 10 s. Polls the X server every
// 2 ms, then ends the program with SIGTERM and waits for it. Used by scripts/measure-window.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static unsigned long pixel(Display* d, Window root, int x, int y) {
    XImage* image = XGetImage(d, root, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return 0;
    unsigned long p = XGetPixel(image, 0, 0) & 0xffffff;
    XDestroyImage(image);
    return p;
}

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    Display* d = XOpenDisplay(NULL);
    if (!d) return 2;
    Window root = DefaultRootWindow(d);
    const double start = now_ms();
    pid_t child = fork();
    if (child == 0) {
        execv(argv[1], argv + 1);
        _exit(127);
    }
    double shown = -1, drawn = -1;
    while (drawn < 0 && now_ms() - start < 10000) {
        unsigned long left = pixel(d, root, 100, 300), right = pixel(d, root, 618, 300);
        if (left == 0xffffff && shown < 0) shown = now_ms() - start;
        if (left == 0xffffff && right != 0xffffff) drawn = now_ms() - start;
        usleep(2000);
    }
    kill(child, SIGTERM);
    waitpid(child, NULL, 0);
    if (shown < 0)
        printf("- ");
    else
        printf("%.0f ", shown);
    if (drawn < 0)
        printf("-\n");
    else
        printf("%.0f\n", drawn);
    return drawn < 0;
}
