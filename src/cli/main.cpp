#include <cstdio>
#include <cstring>

namespace {

const char* kUsage = "Usage: dayweaver-cli [--data DIR] COMMAND [ARGS]\n"
                     "       dayweaver-cli --help | --version\n";

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("dayweaver-cli %s\n", DAYWEAVER_VERSION);
        return 0;
    }
    std::fputs(kUsage, stderr);
    return 2;
}
