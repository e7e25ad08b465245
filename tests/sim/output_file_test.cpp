// Files written whole through a temporary: what a failed write leaves.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "sim/host.h"
#include "sim/temporaries.h"
#include "util/atomic_file.h"

namespace fs = std::filesystem;

TEST(OutputFile, AWriteThatFailsGivesBackItsTemporarysRoomAtOnce)
{
    const fs::path dir = fs::temp_directory_path() / ("simhost_output_file_" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    // A file-size limit fails the write as a full disk would.
    const auto previous_signal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit small = previous;
    small.rlim_cur = 1 << 16;
    setrlimit(RLIMIT_FSIZE, &small);
    {
        sim::AtomicFile file((dir / "t.json").string());
        file.write(std::string(1 << 18, 'x'));
        setrlimit(RLIMIT_FSIZE, &previous);
        EXPECT_TRUE(fs::is_empty(dir)) << "the failed temporary is gone before the file is given up";
        EXPECT_THROW(file.commit(), sim::WriteError);
    }
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previous_signal);
    EXPECT_TRUE(fs::is_empty(dir));
    fs::remove_all(dir);
}

// The host library keeps its own list of the temporaries it writes, apart
// from the program's: a program that ends on a signal while the host saves
// reaches that list only through remove_host_temporaries.
TEST(OutputFileDeathTest, ASignalDuringTheHostsSaveLeavesNoTemporaryWhenTheHandlerCleansUp)
{
    const fs::path dir = fs::temp_directory_path() / ("simhost_host_temporary_" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string target = (dir / "saved.scn").string();
    EXPECT_EXIT(
        {
            sim::Host host;
            // The write of the save's first byte raises SIGXFSZ, its temporary open.
            std::signal(SIGXFSZ, [](int) {
                sim::remove_host_temporaries();
                _exit(3);
            });
            rlimit none{};
            getrlimit(RLIMIT_FSIZE, &none);
            none.rlim_cur = 0;
            setrlimit(RLIMIT_FSIZE, &none);
            host.save_scenario(target);
        },
        ::testing::ExitedWithCode(3), "");
    EXPECT_TRUE(fs::is_empty(dir)) << "a temporary of the host's save is left";
    fs::remove_all(dir);
}
