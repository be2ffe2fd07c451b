// SPDX-FileCopyrightText: MOXAN
// SPDX-License-Identifier: GPL-3.0-or-later
// Saves that keep what they replace: links, permissions, hard links, devices,
// write errors, signals and the longest names.
#include "model/u_savefile.h"
#include "model/u_text.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zevra {
namespace {

TEST(Saves, ALinkIsFollowedAndPermissionsAndHardLinksAreKept) {
    test::TempDir dir;
    const std::string target = dir.File("target.txt"), link = dir.File("link.txt");
    test::WriteBytes(target, "old");
    ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
    std::filesystem::create_symlink("target.txt", link);
    SaveFile(link, "new");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(test::ReadBytes(target), "new");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);

    const std::string second = dir.File("second.txt");
    std::filesystem::create_hard_link(target, second);
    SaveFile(second, "both");
    EXPECT_EQ(test::ReadBytes(target), "both");
    EXPECT_EQ(test::ReadBytes(second), "both");
    SaveFile(second, "b");  // shorter: the rest is cut off
    EXPECT_EQ(test::ReadBytes(target), "b");

    // A dangling link's target is created.
    std::filesystem::create_symlink("created.txt", dir.File("dangling"));
    SaveFile(dir.File("dangling"), "x");
    EXPECT_EQ(test::ReadBytes(dir.File("created.txt")), "x");
    EXPECT_EQ(test::EntryCount(dir.Path()), 5u);  // no temporary file is left behind
}

TEST(Saves, DevicesAreWrittenInPlaceAndAFailingWriteIsAnError) {
    EXPECT_NO_THROW(SaveFile("/dev/null", "nothing"));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
    EXPECT_EQ(test::ErrorOf([] { SaveFile("/dev/full", "x"); }), "Soubor nelze zapsat!\r\n[/dev/full]");
    test::TempDir dir;
    EXPECT_EQ(test::ErrorOf([&] { SaveFile(dir.Path().string(), "x"); }),
              "Zadaná cesta není soubor, ale adresář!\r\n[" + dir.Path().string() + "]");
}

TEST(Saves, AFileSizeLimitIsAWriteErrorAndASignalRemovesTheTemporaryFile) {
    test::TempDir dir;
    const std::string target = dir.File("big.txt");
    // Through a shell, so the limit applies to a fresh process.
    const std::string command = "ulimit -f 1; " + std::string(ZEVRA_CLI_PATH) + " --data '" ZEVRA_TEST_DATA_DIR
                                "' batch " ZEVRA_EXAMPLES_DIR "/obce.csv " + target + " 2>/dev/null";
    const int raw = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(raw));
    if (WIFEXITED(raw)) {
        EXPECT_EQ(WEXITSTATUS(raw), 2);
    }
    EXPECT_FALSE(std::filesystem::exists(target));

    // A signal during a save: the writer's temporary file beside the target
    // goes with the process.
    for (const int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1}) {
        const pid_t saver = ::fork();
        if (saver == 0) {
            const rlimit noCore{0, 0};
            ::setrlimit(RLIMIT_CORE, &noCore);
            TSafeFileWriter writer(dir.File("out.txt"));
            writer.Write("partial");
            ::raise(sig);
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(saver, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << sig;
        EXPECT_EQ(test::EntryCount(dir.Path()), 0u) << sig;
    }
}

// Every name the file system allows can be saved, also where "." + name +
// the random part of a temporary name would be too long; a multi-byte
// character at the cut is not split.
TEST(Saves, NamesUpToTheLongestAllowedAreSavedAndReplaced) {
    test::TempDir dir;
    std::string czech;
    while (czech.size() < 254) czech += "č";
    for (const std::string& name : {std::string(250, 'a'), std::string(255, 'b'), czech}) {
        const std::string path = dir.File(name);
        SaveFile(path, "first");
        SaveFile(path, "second");
        EXPECT_EQ(test::ReadBytes(path), "second") << name.size();
        EXPECT_EQ(test::EntryCount(dir.Path()), 1u) << name.size();
        std::filesystem::remove(path);
    }
}

TEST(Saves, SameFileSeesLinksAndInodes) {
    test::TempDir dir;
    test::WriteBytes(dir.File("a.csv"), "x");
    std::filesystem::create_symlink("a.csv", dir.File("l.csv"));
    EXPECT_TRUE(SameFile(dir.File("a.csv"), dir.File("l.csv")));
    EXPECT_TRUE(SameFile(dir.File("a.csv"), dir.File("./a.csv")));
    EXPECT_FALSE(SameFile(dir.File("a.csv"), dir.File("b.csv")));
}

}  // namespace
}  // namespace zevra
