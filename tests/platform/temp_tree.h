// A scratch directory for tests that need real files, removed with all its
// contents when the object goes. Shared by the tests of every layer.
#ifndef VORLAN_TESTS_PLATFORM_TEMP_TREE_H
#define VORLAN_TESTS_PLATFORM_TEMP_TREE_H

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

class CTempTree {
  public:
    // A test cannot go on without its folder: failing to make one throws,
    // which fails the test.
    CTempTree() {
        std::string templ = ::testing::TempDir() + "vorlan-XXXXXX";
        if (!::mkdtemp(templ.data()))
            throw std::runtime_error("mkdtemp " + templ + ": " + std::strerror(errno));
        m_root = templ;
    }
    ~CTempTree() {
        std::error_code ec;
        std::filesystem::remove_all(m_root, ec);
    }
    CTempTree(const CTempTree&) = delete;
    CTempTree& operator=(const CTempTree&) = delete;

    // The tree's root, without a trailing "/".
    const std::string& Root() const { return m_root; }
    // The root with a trailing "/".
    std::string Dir() const { return m_root + "/"; }
    std::string Path(const std::string& rel) const { return m_root + "/" + rel; }

    // Writes bytes to the file at rel (folders made as needed) and returns
    // its full path.
    std::string Write(const std::string& rel, const std::string& bytes) const {
        const std::string path = Path(rel);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    void MakeDir(const std::string& rel) const {
        ASSERT_EQ(::mkdir(Path(rel).c_str(), 0755), 0) << rel;
    }
    void Link(const std::string& target, const std::string& rel) const {
        ASSERT_EQ(::symlink(target.c_str(), Path(rel).c_str()), 0) << rel;
    }
    void Fifo(const std::string& rel) const {
        ASSERT_EQ(::mkfifo(Path(rel).c_str(), 0644), 0) << rel;
    }

  private:
    std::string m_root;
};

// Permission checks do not apply to the superuser.
inline bool RunningAsRoot() {
    return ::geteuid() == 0;
}

#endif
