// Test main of the GUI tests: the application object lives for all tests of the program.
#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no windows (and may run where there is no display).
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    // The window reads the user's inventory and writes the user's audit trail: a test run gets
    // folders of its own, so that neither is touched.
    std::string home = (std::filesystem::temp_directory_path() / "vireo-gui-test-XXXXXX").string();
    if (!::mkdtemp(home.data()))
        return 1;
    ::setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    ::setenv("XDG_STATE_HOME", (home + "/state").c_str(), 1);
    int status = 0;
    {
        QApplication app(argc, argv);
        status = RUN_ALL_TESTS();
    }
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return status;
}
