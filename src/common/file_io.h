// POSIX file access with the program's error numbering: 2 file not found, 3 path not found,
// 4 too many open files, 5 access denied, 100 short read, 101 failed write, any other errno
// as itself. Saves go through a temporary file so that a failed save never damages the file
// that was there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace r470 {

int IoCodeFromErrno(int err);

// Something the writers of our records can write to; returns 0 or an error code.
class ByteSink {
  public:
    virtual ~ByteSink() = default;
    virtual int Write(std::span<const std::uint8_t> bytes) = 0;
};

// Collects everything written, for encoders that want the bytes in memory.
class VectorSink : public ByteSink {
  public:
    int Write(std::span<const std::uint8_t> bytes) override {
        data.insert(data.end(), bytes.begin(), bytes.end());
        return 0;
    }
    std::vector<std::uint8_t> data;
};

// Something the readers can read from. `got` may be less than asked at the end of the data.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual int Read(std::span<std::uint8_t> into, std::size_t& got) = 0;
};

class InFile : public ByteSource {
  public:
    InFile() = default;
    InFile(const InFile&) = delete;
    InFile& operator=(const InFile&) = delete;
    ~InFile() override;
    int Open(const std::string& path); // 0 or an error code; directories are refused
    int Read(std::span<std::uint8_t> into, std::size_t& got) override;
    void Close();

  private:
    int fd_ = -1;
};

class MemorySource : public ByteSource {
  public:
    explicit MemorySource(std::span<const std::uint8_t> data) : data_(data) {}
    int Read(std::span<std::uint8_t> into, std::size_t& got) override;

  private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

// Writes a new version of `path` beside it and puts it in place only on Commit.
class AtomicFile : public ByteSink {
  public:
    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile() override; // abandons an uncommitted file
    int Begin(const std::string& path);
    int Write(std::span<const std::uint8_t> bytes) override;
    int Commit(); // flush to disk and rename over the target
    void Abandon();

  private:
    int fd_ = -1;
    std::string path_;
    std::string temp_;
};

// Writes a file through `body`; returns 0 or the first error code. The real one keeps the
// old file untouched unless every write succeeded.
using FileWriter =
    std::function<int(const std::string& path, const std::function<int(ByteSink&)>& body)>;
int WriteFileSafely(const std::string& path, const std::function<int(ByteSink&)>& body);

// True when `path` names an existing file that can be opened for reading.
bool CanOpenForReading(const std::string& path);

// The user's configuration folder ($XDG_CONFIG_HOME, else ~/.config).
std::string UserConfigDir();

std::string DirName(const std::string& path);
std::string BaseName(const std::string& path);

} // namespace r470
