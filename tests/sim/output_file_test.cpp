// Files written whole through a temporary: what a failed write leaves.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

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
