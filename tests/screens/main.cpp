// The screen tests run real windows on Qt's offscreen platform.

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "platform/Recursos.h"

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    tobal::IniciaRecursos();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
