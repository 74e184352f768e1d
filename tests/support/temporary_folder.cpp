#include "support/temporary_folder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace {

// A folder of a name that no other test, nor another run of the tests, has at the same time.
std::string new_unique_folder() {
  std::random_device source;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, "swarm-test-%08x", static_cast<unsigned>(source()));
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / name;
    if (std::filesystem::create_directory(folder)) return folder.string();
  }
  throw std::runtime_error("no temporary folder");
}

}  // namespace

TemporaryFolder::TemporaryFolder() {
  path_ = new_unique_folder();
  previous_ = std::filesystem::current_path().string();
  std::filesystem::current_path(path_);
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
  std::filesystem::remove_all(path_, ignored);
}

bool TemporaryFolder::exists(const std::string& name) const { return std::filesystem::exists(path_ + "/" + name); }

std::string TemporaryFolder::read(const std::string& name) const {
  std::ifstream file(path_ + "/" + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

void TemporaryFolder::write(const std::string& name, const std::string& bytes) const {
  std::ofstream file(path_ + "/" + name, std::ios::binary);
  file << bytes;
}

std::vector<std::string> TemporaryFolder::lines(const std::string& name) const {
  const std::string bytes = read(name);
  std::vector<std::string> result;
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
    result.push_back(bytes.substr(start, end - start));
  if (start < bytes.size()) result.push_back(bytes.substr(start));
  return result;
}
