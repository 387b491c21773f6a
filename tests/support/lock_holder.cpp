// Test helper: holds a data folder's lock the way the program does, until killed or after
// 30 seconds. Prints "locked" once it holds it.
#include "platform/data_lock.h"

#include <chrono>
#include <cstdio>
#include <thread>

int main(int argc, char* argv[]) {
    if (argc != 2)
        return 2;
    dw::DataDirLock lock(argv[1]);
    if (!lock.tryLock())
        return 1;
    std::puts("locked");
    std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::seconds(30));
    return 0;
}
