#include "app/CorvalinApp.h"
#include "core/io/ProgramDirectory.h"
#include "core/text/Translation.h"

int main(int argc, char** argv) {
    StartTranslations(CatalogueFolder());
    // Answered before any window system is reached, so they work without a display too.
    if (const std::optional<int> status = CCorvalinApp::AnswerOptions(argc, argv)) return *status;
    CCorvalinApp app(argc, argv);
    if (!app.InitInstance()) return 0;  // handed over to the game already running
    return app.ExitInstance(app.exec());
}
