// A fresh folder under /tmp for one test, removed afterwards, with its files named in
// host form and in the runtime's DOS form (Z:\...).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace testsupport {

class TempFolder {
public:
    // A new folder of a random name; the same code serves the Windows build, where
    // /tmp is on the current drive (Z: under Wine).
    TempFolder() {
        std::random_device random;
        std::error_code error;
        for (int attempt = 0; attempt < 100 && host_.empty(); ++attempt) {
            std::string path = "/tmp/sorvel-test-" + std::to_string(random());
            std::filesystem::create_directories("/tmp", error);
            if (std::filesystem::create_directory(path, error)) host_ = path;
        }
    }
    ~TempFolder() {
        if (!host_.empty()) std::filesystem::remove_all(host_);
    }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    bool Ok() const { return !host_.empty(); }
    const std::string &HostRoot() const { return host_; }
    std::string Host(const std::string &name) const { return host_ + "/" + name; }
    std::string Dos(const std::string &name = "") const {
        std::string path = "Z:" + (name.empty() ? host_ : Host(name));
        for (char &c : path)
            if (c == '/') c = '\\';
        return path;
    }
    std::string Contents(const std::string &name) const {
        std::ifstream in(Host(name), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void Put(const std::string &name, const std::string &bytes) const {
        std::ofstream(Host(name), std::ios::binary) << bytes;
    }

private:
    std::string host_;
};

} // namespace testsupport
