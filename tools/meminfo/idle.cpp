// yanra-idle: the smallest Win32 program that stays running, doing nothing:
// the baseline beside which the benchmarks give yanra.exe's memory. It waits
// in the message loop, as the program does, until it is ended.

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}
