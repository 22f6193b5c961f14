// Main of the test programs. With MXA_TEST_LOCALE set (say pt_BR.UTF-8) the whole run
// happens under that process locale, as the GUI runs under the desktop's: a number
// read or written through the locale then shows up as a failing test.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale>
#include <stdexcept>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (const char* name = std::getenv("MXA_TEST_LOCALE"); name && *name) {
        // Asked for and missing is an error, not a quiet run under "C".
        try {
            std::locale::global(std::locale(name));
        } catch (const std::runtime_error&) {
            std::fprintf(stderr,
                         "MXA_TEST_LOCALE=%s: locale inexistente nesta máquina; gere-a (scripts/setup.sh) "
                         "ou remova a variável.\n",
                         name);
            return 2;
        }
        if (!std::setlocale(LC_ALL, name)) {
            std::fprintf(stderr, "MXA_TEST_LOCALE=%s: não foi possível ativar a locale.\n", name);
            return 2;
        }
    }
    return RUN_ALL_TESTS();
}
