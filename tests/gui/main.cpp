#include <gtest/gtest.h>

#include <clocale>
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
    // Qt takes the desktop's locale for the whole process; the database drivers of the
    // embedded server print and read numbers through it, so numbers stay in the C form.
    std::setlocale(LC_NUMERIC, "C");
    guitest::theApp = &a;
    return RUN_ALL_TESTS();
}
