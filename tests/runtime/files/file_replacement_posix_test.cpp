#include "runtime/files/file_replacement.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "runtime/files/files.h"
#include "support/fresh_program.h"
#include "support/temporary_folder.h"

namespace {

namespace fs = std::filesystem;

constexpr uid_t unprivileged_id = 65534;  // nobody, nogroup

// The saves of the program, through the file operations, on real files in a folder of the
// test's own, with unnamed new versions and, where a file system has none, named ones.
class FileReplacementTest : public FreshProgram, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    FreshProgram::SetUp();
    host.unnamed_files = GetParam();
  }
  void TearDown() override { abandon_all_files(); }

  // Saves the lines, as the state file is saved; the failure the save raised, 0 for none.
  static int save(const std::string& name, const std::vector<std::string>& lines) {
    open_file(name, file_mode_output, 1);
    for (const std::string& line : lines) file_print_text(1, line, true, false, true);
    close_file(1);
    return take_failure();
  }
  static std::string bytes_of(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + " \r\n";
    return bytes;
  }
  static std::vector<std::string> state_of(const std::string& value) { return std::vector<std::string>(17018, value); }

  static std::vector<std::string> names_in(const std::string& path) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::vector<std::string> names() const { return names_in(folder.path()); }

  static mode_t mode_of(const std::string& name) {
    struct stat info {};
    EXPECT_EQ(stat(name.c_str(), &info), 0) << name;
    return info.st_mode & 07777;
  }

  TemporaryFolder folder;
};

// Runs the body in a child process and gives its exit code; the body returns the code.
template <typename Body>
int in_child(Body body) {
  const pid_t child = fork();
  if (child == 0) _exit(body());
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

INSTANTIATE_TEST_SUITE_P(NewVersions, FileReplacementTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Unnamed" : "Named"; });

TEST_P(FileReplacementTest, ASaveLeavesOnlyTheFileAndRemovesWhatKilledSavesLeft) {
  folder.write("state.dat", "old\r\n");
  ASSERT_EQ(save("state.dat", {" 1"}), 0);
  EXPECT_EQ(folder.read("state.dat"), " 1 \r\n");
  EXPECT_EQ(names(), (std::vector<std::string>{"state.dat"}));

  // What killed saves left, by this program and by its earlier versions, goes; other files of
  // like names, and a folder under the old name, stay.
  for (const char* name : {"state.dat.saving", "state.dat.saving.0123abcd", "state.dat.savingX",
                           "state.dat.saving.0123abc", "other.dat.saving.0123abcd"})
    folder.write(name, "left\r\n");
  fs::create_directory("state.dat.saving.fedcba98");
  ASSERT_EQ(save("state.dat", {" 2"}), 0);
  EXPECT_EQ(folder.read("state.dat"), " 2 \r\n");
  EXPECT_EQ(names(), (std::vector<std::string>{"other.dat.saving.0123abcd", "state.dat", "state.dat.saving.0123abc",
                                               "state.dat.saving.fedcba98", "state.dat.savingX"}));
}

TEST_P(FileReplacementTest, ANewVersionTakesTheOldFilesModeOwnerAndGroup) {
  for (const mode_t mode : {0640, 0600, 0664, 0444}) {
    folder.write("state.dat", "old\r\n");
    ASSERT_EQ(chmod("state.dat", mode), 0);
    const int failure = save("state.dat", {" 1"});
    if (mode == 0444 && geteuid() != 0) {
      EXPECT_EQ(failure, 70);  // write protection refuses the save
      continue;
    }
    EXPECT_EQ(failure, 0) << std::oct << mode;
    EXPECT_EQ(mode_of("state.dat"), mode) << std::oct << mode;
    ASSERT_EQ(chmod("state.dat", 0644), 0);
  }
  fs::remove("state.dat");
  ASSERT_EQ(save("state.dat", {" 1"}), 0);
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(mode_of("state.dat"), 0666 & ~mask);  // a new file, as created afresh

  if (geteuid() != 0) GTEST_SKIP() << "only a privileged run can hand a file to another owner";
  ASSERT_EQ(chown("state.dat", unprivileged_id, unprivileged_id), 0);
  ASSERT_EQ(save("state.dat", {" 2"}), 0);
  struct stat info {};
  ASSERT_EQ(stat("state.dat", &info), 0);
  EXPECT_EQ(info.st_uid, unprivileged_id);
  EXPECT_EQ(info.st_gid, unprivileged_id);
  EXPECT_EQ(folder.read("state.dat"), " 2 \r\n");
}

TEST_P(FileReplacementTest, ASymbolicLinkIsSavedThroughAndKept) {
  fs::create_directories("real/deeper");
  const struct {
    const char* what;
    std::string link, leads_to, target;
  } cases[] = {
      {"a relative link", "state.dat", "real/state.dat", "real/state.dat"},
      {"an absolute link", "absolute.dat", folder.path() + "/real/absolute.dat", "real/absolute.dat"},
      {"a relative link in a folder", "real/chained.dat", "deeper/chained.dat", "real/deeper/chained.dat"},
      {"a link leading to a missing file", "fresh.dat", "real/fresh.dat", "real/fresh.dat"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.link != "fresh.dat") {
      folder.write(c.target, "old\r\n");
      ASSERT_EQ(chmod(c.target.c_str(), 0640), 0);
    }
    fs::create_symlink(c.leads_to, c.link);
    ASSERT_EQ(save(c.link, {" 1"}), 0);
    EXPECT_TRUE(fs::is_symlink(c.link));
    EXPECT_EQ(fs::read_symlink(c.link).string(), c.leads_to);
    EXPECT_EQ(folder.read(c.target), " 1 \r\n");
    if (c.link != "fresh.dat") {
      EXPECT_EQ(mode_of(c.target), 0640u);
    }
  }
  // Nothing is left beside the links nor beside the files they lead to.
  EXPECT_EQ(names(), (std::vector<std::string>{"absolute.dat", "fresh.dat", "real", "state.dat"}));
  EXPECT_EQ(names_in("real"), (std::vector<std::string>{"absolute.dat", "chained.dat", "deeper", "fresh.dat", "state.dat"}));
  EXPECT_EQ(names_in("real/deeper"), (std::vector<std::string>{"chained.dat"}));

  fs::create_symlink("loop.dat", "loop.dat");
  EXPECT_EQ(save("loop.dat", {" 1"}), 53);
  fs::create_symlink("nowhere/state.dat", "lost.dat");
  EXPECT_EQ(save("lost.dat", {" 1"}), 76);
}

// As an unprivileged user, in a folder that takes no new files: the file that can be written
// is rewritten in place, one that does not exist cannot be made (failure 70).
TEST_P(FileReplacementTest, AnUnwritableFolderHasItsWritableFileRewrittenInPlace) {
  folder.write("state.dat", "old\r\n");
  ASSERT_EQ(chmod("state.dat", 0666), 0);
  struct stat before {};
  ASSERT_EQ(stat("state.dat", &before), 0);
  ASSERT_EQ(chmod(folder.path().c_str(), 0555), 0);
  constexpr int no_unprivileged_user = 77;
  auto saves = [] {
    const int in_place = save("state.dat", {" 1", " 2"});
    const int new_file = save("new.dat", {" 1"});
    return in_place == 0 && new_file == 70 ? 0 : 10 + in_place % 100;
  };
  int result;
  if (geteuid() == 0) {
    result = in_child([&] {
      if (setgroups(0, nullptr) != 0 || setresgid(unprivileged_id, unprivileged_id, unprivileged_id) != 0 ||
          setresuid(unprivileged_id, unprivileged_id, unprivileged_id) != 0)
        return no_unprivileged_user;
      return saves();
    });
  } else {
    result = saves();
  }
  chmod(folder.path().c_str(), 0700);
  if (result == no_unprivileged_user) GTEST_SKIP() << "cannot run as an unprivileged user here";
  EXPECT_EQ(result, 0);
  EXPECT_EQ(folder.read("state.dat"), " 1 \r\n 2 \r\n");
  struct stat after {};
  ASSERT_EQ(stat("state.dat", &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);  // the same file, written over
  EXPECT_EQ(names(), (std::vector<std::string>{"state.dat"}));
}

// Two programs in one folder saving the same file at once, round after round: every round ends
// with the whole file of one of them, neither is told of a failure, and nothing is left beside.
TEST_P(FileReplacementTest, TwoProgramsSavingAtOnceEachLeaveAWholeFile) {
  const std::vector<std::string> models[] = {state_of(" 1"), state_of("-1")};
  const std::string files[] = {bytes_of(models[0]), bytes_of(models[1])};
  constexpr int rounds = 20, saves_per_round = 3;
  for (int round = 0; round < rounds; ++round) {
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    pid_t children[2];
    for (int program = 0; program < 2; ++program) {
      children[program] = fork();
      if (children[program] == 0) {
        close(go[1]);
        char start;
        if (read(go[0], &start, 1) != 1) _exit(99);
        for (int i = 0; i < saves_per_round; ++i)
          if (const int failure = save("vorka.dat", models[program])) _exit(failure);
        _exit(0);
      }
    }
    close(go[0]);
    ASSERT_EQ(write(go[1], "gg", 2), 2);  // both start at once
    close(go[1]);
    for (const pid_t child : children) {
      int status = 0;
      waitpid(child, &status, 0);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "round " << round << ": status " << status;
    }
    const std::string saved = folder.read("vorka.dat");
    EXPECT_TRUE(saved == files[0] || saved == files[1]) << "round " << round << ": " << saved.size() << " bytes";
    EXPECT_EQ(names(), (std::vector<std::string>{"vorka.dat"})) << "round " << round;
  }
}

// A save killed at a random moment, many times over: the file stays whole (the old or the new
// version), and nothing a killed save left outlives the next save.
TEST_P(FileReplacementTest, AKilledSaveLeavesNothingThatOutlivesTheNextSave) {
  const std::vector<std::string> old_model = state_of(" 1"), new_model = state_of(" 2"), next_model = state_of(" 3");
  std::mt19937 moments(14);
  constexpr int kills = 40;
  int kills_that_left_a_file = 0;
  for (int kill = 0; kill < kills; ++kill) {
    ASSERT_EQ(save("vorka.dat", old_model), 0);
    const pid_t child = fork();
    if (child == 0) {
      for (;;) save("vorka.dat", new_model);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200 + moments() % 40000));
    ::kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    const std::string after_kill = folder.read("vorka.dat");
    EXPECT_TRUE(after_kill == bytes_of(old_model) || after_kill == bytes_of(new_model)) << "kill " << kill;
    kills_that_left_a_file += names().size() > 1;
    ASSERT_EQ(save("vorka.dat", next_model), 0);
    EXPECT_EQ(folder.read("vorka.dat"), bytes_of(next_model)) << "kill " << kill;
    EXPECT_EQ(names(), (std::vector<std::string>{"vorka.dat"})) << "kill " << kill;
  }
  std::cout << kills_that_left_a_file << " of " << kills << " kills left a file beside vorka.dat\n";
}

}  // namespace
