#include "model/FontFiles.h"

#include <QApplication>
#include <gmock/gmock.h>

int main(int argc, char** argv)
{
    // Tests never need a screen; running a test binary by hand behaves like CTest.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    LoadFontFiles();
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
