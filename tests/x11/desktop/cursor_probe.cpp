// Prints the pointer the X server shows now, as XFixes reports it: its name (when the
// cursor was given one), size, hot spot and a checksum of its image.
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <cstdio>

int main() {
    Display *display = XOpenDisplay(nullptr);
    if (!display) return 2;
    XFixesCursorImage *image = XFixesGetCursorImage(display);
    if (!image) return 3;
    unsigned long sum = 0;
    for (int i = 0; i < image->width * image->height; ++i) sum = sum * 31 + (image->pixels[i] & 0xFFFFFFFF);
    std::printf("name=%s size=%dx%d hot=%d,%d sum=%lx\n", image->name ? image->name : "", image->width, image->height,
                image->xhot, image->yhot, sum);
    XFree(image);
    XCloseDisplay(display);
    return 0;
}
