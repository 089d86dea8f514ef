#include "platform/controls/ListViewControl.h"
#include "platform/window/Window.h"
LRESULT CALLBACK ListViewWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) { return DefWindowProc(hWnd, uMsg, wParam, lParam); }
