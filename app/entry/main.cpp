// Entry point. The delay window arrives with the delay session; until then the
// program says what it is and exits.
#include <cstdio>

int main() {
    std::puts("quillanvero 1.0 - live radio delay (the delay window is not built yet)");
    return 0;
}
