// main() of every Windows test executable: the product's text is CP932, so a
// run under any other ANSI code page would test something else. Refuse it.
#include <windows.h>

#include <cstdio>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    const UINT codePage = ::GetACP();
    if (codePage != 932) {
        std::fprintf(stderr,
                     "FATAL: the ANSI code page is %u, these tests need 932 (Japanese).\n"
                     "Run them through scripts/with-wine.sh (LC_ALL=ja_JP.UTF-8).\n",
                     codePage);
        return 2;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
