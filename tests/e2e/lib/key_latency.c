/* Key-to-screen time: presses a steering key through XTEST and watches the X screen until the
 * player's sprite (its green) has moved, many times over, and prints the median and 90th percentile.
 * Usage: key_latency SAMPLES. The game must be in play with its window focused. */
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
    struct timespec t = {(time_t)(ms / 1000), (long)((ms - (long)(ms / 1000) * 1000) * 1e6)};
    nanosleep(&t, NULL);
}

static int Shift(unsigned long mask)
{
    int s = 0;
    while (mask && !(mask & 1)) mask >>= 1, ++s;
    return s;
}

/* Mean x and y of the sprite's green pixels in a screen rectangle; count 0 when there are too few. */
typedef struct { double x, y; int count; } Blob;

static Blob FindGreen(Display* d, int x0, int y0, int w, int h)
{
    Blob b = {0, 0, 0};
    XImage* im = XGetImage(d, DefaultRootWindow(d), x0, y0, (unsigned)w, (unsigned)h, AllPlanes, ZPixmap);
    if (!im) return b;
    const int rs = Shift(im->red_mask), gs = Shift(im->green_mask), bs = Shift(im->blue_mask);
    double sx = 0, sy = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            unsigned long p = XGetPixel(im, x, y);
            int r = (int)((p & im->red_mask) >> rs), g = (int)((p & im->green_mask) >> gs),
                bl = (int)((p & im->blue_mask) >> bs);
            if (g - r > 40 && g - bl > 30) sx += x, sy += y, ++b.count;
        }
    }
    XDestroyImage(im);
    if (b.count < 20) {
        b.count = 0;
        return b;
    }
    b.x = x0 + sx / b.count;
    b.y = y0 + sy / b.count;
    return b;
}

static int Compare(const void* a, const void* b)
{
    double x = *(const double*)a, y = *(const double*)b;
    return x < y ? -1 : x > y;
}

int main(int argc, char** argv)
{
    const int samples = argc > 1 ? atoi(argv[1]) : 30;
    Display* d = XOpenDisplay(NULL);
    if (!d) {
        fprintf(stderr, "key_latency: no X display\n");
        return 2;
    }
    const int sw = DisplayWidth(d, DefaultScreen(d)), sh = DisplayHeight(d, DefaultScreen(d));
    /* The sprite is the 40-row band with the most green; other green specks lie far from it. */
    int best = -1, bestCount = 0;
    for (int y = 0; y + 40 <= sh; y += 10) {
        Blob b = FindGreen(d, 0, y, sw, 40);
        if (b.count > bestCount) best = y, bestCount = b.count;
    }
    Blob where = best < 0 ? (Blob){0, 0, 0} : FindGreen(d, 0, best, sw, 40);
    if (!where.count) {
        fprintf(stderr, "key_latency: no player sprite on the screen\n");
        return 2;
    }
    /* A band around the sprite, wide enough for the whole run of samples. */
    int bx = (int)where.x - 120, by = best, bw = 240, bh = 40;
    if (bx < 0) bx = 0;
    if (by < 0) by = 0;
    if (bx + bw > sw) bw = sw - bx;
    if (by + bh > sh) bh = sh - by;

    const KeyCode right = XKeysymToKeycode(d, XK_c), left = XKeysymToKeycode(d, XK_z);
    double* ms = calloc((size_t)samples, sizeof(double));
    int n = 0, missed = 0;
    srand(7);
    for (int i = 0; i < samples; ++i) {
        SleepMs(150 + rand() % 50);  /* the press lands anywhere in a step */
        Blob before = FindGreen(d, bx, by, bw, bh);
        if (!before.count) {
            ++missed;
            continue;
        }
        const KeyCode key = i % 2 ? left : right;
        const double t0 = NowMs();
        XTestFakeKeyEvent(d, key, True, CurrentTime);
        XFlush(d);
        double seen = -1;
        while (NowMs() - t0 < 500) {
            Blob now = FindGreen(d, bx, by, bw, bh);
            if (now.count && (now.x - before.x > 2.5 || before.x - now.x > 2.5)) {
                seen = NowMs() - t0;
                break;
            }
            SleepMs(0.5);
        }
        XTestFakeKeyEvent(d, key, False, CurrentTime);
        XFlush(d);
        if (seen < 0) ++missed;
        else ms[n++] = seen;
    }
    XCloseDisplay(d);
    if (n == 0) {
        printf("key-to-screen: no movement seen in %d presses\n", samples);
        return 1;
    }
    qsort(ms, (size_t)n, sizeof(double), Compare);
    printf("key-to-screen: %d presses, median %.1f ms, p90 %.1f ms, max %.1f ms, missed %d\n", n, ms[n / 2],
           ms[(n * 9) / 10 < n ? (n * 9) / 10 : n - 1], ms[n - 1], missed);
    free(ms);
    return 0;
}
