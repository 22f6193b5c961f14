#include <gtest/gtest.h>

#include <cstdlib>

#include "gui_app.h"

namespace guitest {
namespace {
QApplication* theApp = nullptr;
}
QApplication& app() { return *theApp; }
}  // namespace guitest

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    testing::InitGoogleTest(&argc, argv);
    QApplication a(argc, argv);
    guitest::theApp = &a;
    return RUN_ALL_TESTS();
}
