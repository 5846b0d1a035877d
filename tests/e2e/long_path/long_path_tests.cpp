// A program started from a directory whose path is longer than 260 bytes still takes
// that directory as its run directory.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#ifndef SERVICE_TESTS_PATH
#error "SERVICE_TESTS_PATH must name the service test program"
#endif

TEST(LongPaths, TheRunDirectoryOfADeepProgramIsWhole) {
    char base[] = "/tmp/sorvel-long-XXXXXX";
    std::string dir = mkdtemp(base);
    std::string root = dir;
    while (dir.size() < 400) {
        dir += "/a-directory-name-of-some-length";
        ASSERT_EQ(mkdir(dir.c_str(), 0755), 0);
    }
    std::string program = dir + "/runtime_service_tests";
    ASSERT_EQ(std::system(("cp " SERVICE_TESTS_PATH " " + program).c_str()), 0);
    int status = std::system(("cd / && QT_QPA_PLATFORM=offscreen " + program +
                              " --gtest_filter='Services.TheRunDirectory*:Services.PathsIntoABuffer' > /dev/null 2>&1")
                                 .c_str());
    std::system(("rm -rf " + root).c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
