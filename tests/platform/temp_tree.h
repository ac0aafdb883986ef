// A scratch directory for tests that need real files, removed with all its
// contents when the object goes.
#ifndef VORLAN_TESTS_PLATFORM_TEMP_TREE_H
#define VORLAN_TESTS_PLATFORM_TEMP_TREE_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

class CTempTree {
  public:
    CTempTree() {
        std::string templ = ::testing::TempDir() + "vorlan-XXXXXX";
        if (!::mkdtemp(templ.data()))
            ADD_FAILURE() << "mkdtemp failed for " << templ;
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
    std::string Path(const std::string& rel) const { return m_root + "/" + rel; }

    void Write(const std::string& rel, const std::string& bytes) const {
        std::ofstream(Path(rel), std::ios::binary) << bytes;
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
