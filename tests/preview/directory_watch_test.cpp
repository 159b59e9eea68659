// The folder watch under the player's live key lists, on the system's own
// notifications (inotify on Linux; under Wine, ReadDirectoryChangesW): a file
// counts as saved once its writer has closed it, however many writes it
// took; moved in counts as saved; deleted or moved out as removed.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "tools/preview/directory_watch.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

bool has(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

class Watch : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("velmorand-watch-" + std::to_string(std::random_device{}()));
    fs::create_directory(dir);
    std::string error;
    watch = DirectoryWatch::open(dir.string(), &error);
    ASSERT_NE(watch, nullptr) << error;
  }
  void TearDown() override {
    watch.reset();
    fs::remove_all(dir);
  }
  // Everything reported within `span` (the notifications come in their own time).
  DirectoryWatch::Saved gathered(std::chrono::milliseconds span) {
    DirectoryWatch::Saved all;
    for (const auto until = std::chrono::steady_clock::now() + span; std::chrono::steady_clock::now() < until;) {
      DirectoryWatch::Saved some = watch->poll();
      for (auto& n : some.names) all.names.push_back(n);
      for (auto& n : some.removed) all.removed.push_back(n);
      all.overflowed |= some.overflowed;
      std::this_thread::sleep_for(20ms);
    }
    return all;
  }

  fs::path dir;
  std::unique_ptr<DirectoryWatch> watch;
};

TEST_F(Watch, ASaveCountsOnceClosedAndMovesAndDeletionsAreReported) {
  {
    std::ofstream out(dir / "a.keys", std::ios::binary);
    out << "0: 1 (0);" << std::flush;
    EXPECT_FALSE(has(gathered(500ms).names, "a.keys")) << "reported while still being written";
    out << "\n16: 2 (1)\n" << std::flush;
  }
  DirectoryWatch::Saved saved = gathered(1s);
  EXPECT_EQ(std::count(saved.names.begin(), saved.names.end(), "a.keys"), 1);
  EXPECT_FALSE(saved.overflowed);

  std::ofstream(dir / "b.new", std::ios::binary) << "0: 3 (0)\n";
  fs::rename(dir / "b.new", dir / "b.keys");
  fs::remove(dir / "a.keys");
  saved = gathered(1s);
  EXPECT_TRUE(has(saved.names, "b.keys"));
  EXPECT_TRUE(has(saved.removed, "a.keys"));

  fs::rename(dir / "b.keys", dir / "c.keys");
  saved = gathered(1s);
  EXPECT_TRUE(has(saved.removed, "b.keys"));
  EXPECT_TRUE(has(saved.names, "c.keys"));
  EXPECT_TRUE(gathered(200ms).names.empty()) << "reported twice";
}

TEST(DirectoryWatchOpen, AFolderThatIsNotThereIsRefusedByName) {
  const std::string missing = (fs::temp_directory_path() / "velmorand-no-such-folder").string();
  std::string error;
  EXPECT_EQ(DirectoryWatch::open(missing, &error), nullptr);
  EXPECT_NE(error.find(missing), std::string::npos) << error;
}

}  // namespace
