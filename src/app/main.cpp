#include "app/CorvalinApp.h"

int main(int argc, char** argv) {
    CCorvalinApp app(argc, argv);
    if (!app.InitInstance()) return 1;
    return app.ExitInstance(app.exec());
}
