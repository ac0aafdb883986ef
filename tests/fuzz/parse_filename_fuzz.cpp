// parse_filename against a made-up set of drives: the first input byte
// chooses the current drive, the file system answers every look-up from the
// path's bytes, so every branch is reachable. The result is 0 or 1; on 1 the
// outputs are untouched; on 0 both are terminated inside their 260 bytes,
// the file is not empty and the directory ends in a backslash.
#include "fuzz_support.h"

#include "drives.h"
#include "tesmo.h"

#include <cstring>
#include <memory>

namespace {

constexpr std::size_t kOutSize = 260;

class CFakeDrives : public tesmo::DriveTable {
  public:
    explicit CFakeDrives(int current) : m_current(current) {}
    int CurrentDrive() override { return m_current; }
    bool CurrentDirectory(int drive, std::string& directory) override {
        switch (drive) {
        case 1:
            directory = "A:\\";
            return true;
        case 3:
            directory = "C:\\TEXTS";
            return true;
        case 4:
            directory = "D:\\DEEP\\" + std::string(240, 'X') + "\\";
            return true;
        case 5:
            directory = "E:\\\x95\\\\";
            return true;
        default:
            return false;
        }
    }
    bool Lookup(const std::string& path, unsigned& attributes) override {
        unsigned sum = 0;
        for (char c : path)
            sum += static_cast<unsigned char>(c);
        static constexpr unsigned kAnswers[] = {tesmo::kAttrDirectory, 0x20,
                                                tesmo::kAttrDirectory | tesmo::kAttrHidden};
        if (sum % 4 == 3)
            return false;
        attributes = kAnswers[sum % 4];
        return true;
    }

  private:
    int m_current;
};

// Installs a table for one run and restores the system's.
struct CDrivesInstalled {
    explicit CDrivesInstalled(tesmo::DriveTable& table) { tesmo::SetDrives(&table); }
    ~CDrivesInstalled() { tesmo::SetDrives(nullptr); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::CInput in(data, size);
    CFakeDrives drives(in.Byte() % 7);
    CDrivesInstalled installed(drives);
    const std::string input = in.Rest();

    auto dir = std::make_unique<char[]>(kOutSize);
    auto file = std::make_unique<char[]>(kOutSize);
    std::memset(dir.get(), 'd', kOutSize);
    std::memset(file.get(), 'f', kOutSize);
    const int result = parse_filename(dir.get(), file.get(), input.c_str());
    FUZZ_CHECK(result == 0 || result == 1);
    if (result == 1) {
        for (std::size_t i = 0; i < kOutSize; ++i)
            FUZZ_CHECK(dir[i] == 'd' && file[i] == 'f');
        return 0;
    }
    const std::size_t dirLength = strnlen(dir.get(), kOutSize);
    const std::size_t fileLength = strnlen(file.get(), kOutSize);
    FUZZ_CHECK(dirLength < kOutSize && fileLength < kOutSize);
    FUZZ_CHECK(fileLength > 0);
    FUZZ_CHECK(dirLength > 0 && dir[dirLength - 1] == '\\');
    return 0;
}
