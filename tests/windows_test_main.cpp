// main() of the Windows test programs: message boxes (runtime error reports in death
// tests among them) are answered on the console, as the Linux platform does headless.
#include <gtest/gtest.h>

#include "console.h"

int main(int argc, char **argv) {
    console::SetUpConsole();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
