#pragma once

// A main that runs a QTest class under the application object, as TestMain.h says.

#include "app/CorvalinApp.h"
#include "support/qt/TestMain.h"

#define CORVALIN_APP_TEST_MAIN(TestClass)          \
    int main(int argc, char** argv) {              \
        CCorvalinApp app(argc, argv);              \
        app.setAttribute(Qt::AA_Use96Dpi, true);   \
        TestClass tests;                           \
        return test::RunTests(&tests, argc, argv); \
    }
