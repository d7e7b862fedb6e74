#include "app/CorvalinApp.h"

int main(int argc, char** argv) {
    CCorvalinApp app(argc, argv);
    if (!app.InitInstance()) return 0;  // handed over to the game already running
    return app.ExitInstance(app.exec());
}
