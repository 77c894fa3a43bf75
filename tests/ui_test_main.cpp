#include "app/TessellorApp.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Widget tests never need a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The game's own application object, so exceptions escaping event
    // handlers take the same path as in the game.
    TessellorApp app(argc, argv);
    initTessellorResources();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
