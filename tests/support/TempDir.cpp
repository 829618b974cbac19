#include "tests/support/TempDir.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

TTempDir::TTempDir() {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate =
            fs::temp_directory_path() / ("morvane-test-" + std::to_string(random()));
        if (fs::create_directory(candidate)) {
            root = candidate.string();
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TTempDir::~TTempDir() {
    std::error_code error;
    fs::remove_all(root, error);
}

std::string TTempDir::Path(std::string_view name) const {
    return (fs::path(root) / fs::path(std::string(name))).string();
}

void TTempDir::Write(std::string_view name, std::string_view bytes) const {
    std::ofstream out(Path(name), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + Path(name));
    }
}

std::string TTempDir::Read(std::string_view name) const {
    std::ifstream in(Path(name), std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + Path(name));
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string TTempDir::List() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(root)) {
        names.push_back(entry.path().filename().string() + (entry.is_directory() ? "/" : ""));
    }
    std::sort(names.begin(), names.end());
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : " ") + name;
    }
    return text;
}
