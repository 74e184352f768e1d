#pragma once
// An empty folder of its own for one test, made the current folder while the test runs, and
// removed with everything in it afterwards.
#include <string>
#include <vector>

class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const std::string& path() const { return path_; }
  bool exists(const std::string& name) const;
  std::string read(const std::string& name) const;
  void write(const std::string& name, const std::string& bytes) const;
  // The lines of a file split at CR LF, without their line ends.
  std::vector<std::string> lines(const std::string& name) const;

 private:
  std::string path_;
  std::string previous_;
};
