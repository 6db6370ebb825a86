// A second yardstick for quarvel-read's start-up: the minimal console program
// with the one library every reader of windows loads, asked one question.
// It shows how much of the start goes to the system's window manager.
#include <windows.h>

int main()
{
    return IsWindow(nullptr) ? 1 : 0;
}
