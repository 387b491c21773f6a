#include "app/shell/startup.h"

int main(int argc, char* argv[]) {
    return dw::runDayweaver(argc, argv);
}
