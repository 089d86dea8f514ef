// The program's entry point. Until the application object exists, it reports
// the state of the platform layer and exits.

#include <cstdio>

int main()
{
    std::printf("Archivora: platform layer only; the application is not built yet.\n");
    return 0;
}
