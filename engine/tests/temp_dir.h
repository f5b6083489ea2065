#pragma once
// Test support: a fresh folder per test, removed with everything in it afterwards.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace velk::test {

class TempDir {
  public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("velk-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // UTF-8 path of a file in the folder.
    std::string file(const std::string& utf8Name) const {
        return (path_ / std::filesystem::u8path(utf8Name)).u8string();
    }
    std::string write(const std::string& utf8Name, const std::vector<std::uint8_t>& bytes) const {
        const std::string p = file(utf8Name);
        std::ofstream out(std::filesystem::u8path(p), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return p;
    }
    std::string path() const { return path_.u8string(); }

  private:
    std::filesystem::path path_;
};

} // namespace velk::test
