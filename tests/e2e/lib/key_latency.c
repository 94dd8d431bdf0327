/* Key-to-screen time: presses a steering key through XTEST and watches the X screen (24-bit TrueColor,
 * as Xvfb's) until the player's green sprite has moved; left and right by turns. Prints the median and
 * 90th percentile. Usage: key_latency PRESSES, with the game in play and its window focused. */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static double NowMs(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static void SleepMs(double ms)
{
    struct timespec t = {(time_t)(ms / 1000), (long)(ms * 1e6) % 1000000000L};
    nanosleep(&t, NULL);
}

/* Mean x of the sprite's green pixels in a rectangle of the screen; count 0 when there are too few. */
static double GreenX(Display* d, int x0, int y0, int w, int h, int* count)
{
    XImage* im = XGetImage(d, DefaultRootWindow(d), x0, y0, (unsigned)w, (unsigned)h, AllPlanes, ZPixmap);
    double sx = 0;
    *count = 0;
    for (int y = 0; im && y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const unsigned long p = XGetPixel(im, x, y);
            const int r = (int)(p >> 16 & 255), g = (int)(p >> 8 & 255), b = (int)(p & 255);
            if (g - r > 40 && g - b > 30) sx += x, ++*count;
        }
    }
    if (im) XDestroyImage(im);
    if (*count < 20) *count = 0;
    return *count ? x0 + sx / *count : 0;
}

static int Ascending(const void* a, const void* b)
{
    const double x = *(const double*)a, y = *(const double*)b;
    return x < y ? -1 : x > y;
}

int main(int argc, char** argv)
{
    const int presses = argc > 1 ? atoi(argv[1]) : 30;
    Display* d = XOpenDisplay(NULL);
    if (!d || presses <= 0) return 2;
    const int sw = DisplayWidth(d, DefaultScreen(d)), sh = DisplayHeight(d, DefaultScreen(d));
    /* The sprite is in the 40-row band with the most green; a band 240 pixels wide around it is watched. */
    int top = -1, most = 0, n;
    for (int y = 0; y + 40 <= sh; y += 10) {
        GreenX(d, 0, y, sw, 40, &n);
        if (n > most) top = y, most = n;
    }
    const int left = top < 0 ? 0 : (int)GreenX(d, 0, top, sw, 40, &n) - 120;
    if (top < 0 || left < 0 || left + 240 > sw) {
        fprintf(stderr, "key_latency: no player sprite on the screen\n");
        return 2;
    }
    const KeyCode keys[2] = {XKeysymToKeycode(d, XK_c), XKeysymToKeycode(d, XK_z)};
    double* ms = calloc((size_t)presses, sizeof(double));
    int seen = 0;
    srand(7);
    for (int i = 0; i < presses; ++i) {
        SleepMs(150 + rand() % 50);  /* so that presses land anywhere in a step */
        const double before = GreenX(d, left, top, 240, 40, &n);
        if (!n) continue;
        const double t0 = NowMs();
        XTestFakeKeyEvent(d, keys[i % 2], True, CurrentTime);
        XFlush(d);
        while (NowMs() - t0 < 500) {
            const double x = GreenX(d, left, top, 240, 40, &n);
            if (n && (x - before > 2.5 || before - x > 2.5)) {
                ms[seen++] = NowMs() - t0;
                break;
            }
            SleepMs(0.5);
        }
        XTestFakeKeyEvent(d, keys[i % 2], False, CurrentTime);
        XFlush(d);
    }
    XCloseDisplay(d);
    if (!seen) {
        printf("key-to-screen: no movement seen in %d presses\n", presses);
        return 1;
    }
    qsort(ms, (size_t)seen, sizeof(double), Ascending);
    printf("key-to-screen: %d presses, median %.1f ms, p90 %.1f ms, max %.1f ms, missed %d\n", seen, ms[seen / 2],
           ms[seen * 9 / 10], ms[seen - 1], presses - seen);
    free(ms);
    return 0;
}
