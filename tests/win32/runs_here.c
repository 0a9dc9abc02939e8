/* The smallest program the cross build makes: a machine on which wine runs it runs the
   Windows checks of its architecture. */
#include <windows.h>

int main(void) {
    DWORD written = 0;
    static const char text[] = "runs here\n";
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, sizeof text - 1, &written, NULL);
    return written == sizeof text - 1 ? 0 : 1;
}
