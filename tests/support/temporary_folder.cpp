#include "support/temporary_folder.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace {

// A folder of a random name under the system's temporary folder; creating it succeeds only for
// a name nobody has, so two tests or processes never share one.
std::filesystem::path new_folder() {
  std::random_device seed;
  std::mt19937_64 names(seed());
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::ostringstream name;
    name << "swarm-test-" << std::hex << names();
    if (std::filesystem::create_directory(base / name.str())) return base / name.str();
  }
  throw std::runtime_error("no temporary folder");
}

}  // namespace

TemporaryFolder::TemporaryFolder() {
  path_ = new_folder().string();
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
