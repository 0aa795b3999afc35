// File access with the program's error numbering, and the one safe writer. One
// implementation per system (file_io_posix.cpp, file_io_win32.cpp); paths are UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace r470 {

// The program's file error codes: 2 file not found, 3 path not found, 4 too many open files,
// 5 access denied, 100 failed read, 101 failed write. An errno with no code of its own is
// shown as kUnknownErrnoBase + errno, so it can never pass for one of those (ESRCH is 3 and
// EIO is 5 on Linux) nor be retried as one. EIO is the failed read or write it is.
enum class IoOp { Open, Read, Write };
constexpr int kUnknownErrnoBase = 1000;
int IoCodeFromErrno(int err, IoOp op = IoOp::Open);

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
    // 0 or an error code. Only regular files are opened, and never in a way that can block
    // (a FIFO or device named like a waveform must not stop the program): others give 5.
    int Open(const std::string& path);
    int Read(std::span<std::uint8_t> into, std::size_t& got) override;
    void Close();

  private:
    std::intptr_t handle_ = -1; // a descriptor, or a Windows handle
};

class MemorySource : public ByteSource {
  public:
    explicit MemorySource(std::span<const std::uint8_t> data) : data_(data) {}
    int Read(std::span<std::uint8_t> into, std::size_t& got) override;

  private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

// The one safe writer: every file the program writes goes through WriteFileBytes.
//
// It writes `bytes` as the whole new content of the file that `path` leads to and returns 0
// or a program error code (IoErrorText gives its text). It never does what a plain
// "create or truncate, then write" could not do, and it damages nothing on failure:
// - a target that exists but is not a regular file (FIFO, device, folder, socket) is refused
//   with 5 and left alone;
// - symbolic links are followed, so the linked file gets the new bytes and the link stays;
// - an existing file is written only if the user may open it for writing (else 5);
// - a new file is written beside the target under a short temporary name and renamed into
//   place, so a failed save leaves nothing; an existing file is replaced that way only when
//   the replacement keeps its owner, group, mode and hard links, otherwise it is rewritten
//   in place with its old bytes kept in memory and put back if a write fails;
// - SIGXFSZ is ignored, so a file-size limit is a write error (101) like a full disk.
int WriteFileBytes(const std::string& path, std::span<const std::uint8_t> bytes);

// A save whose old file had already left its name when the new one could not take it (on
// Windows, a replace stopped half way): the new bytes are kept in the file KeptNewFile()
// names, on this thread.
constexpr int kNewBytesKept = 102;
std::string KeptNewFile();

// Writes a file through `body`; returns 0 or the first error code. The real one collects
// what `body` writes and hands it to WriteFileBytes.
using FileWriter =
    std::function<int(const std::string& path, const std::function<int(ByteSink&)>& body)>;
int WriteFileSafely(const std::string& path, const std::function<int(ByteSink&)>& body);

// True when `path` names an existing file that can be opened for reading.
bool CanOpenForReading(const std::string& path);

// The user's configuration folder ($XDG_CONFIG_HOME, else ~/.config; on Windows
// %APPDATA%\R470).
std::string UserConfigDir();
// Where "R470.INI" is read: the user's configuration folder; on Windows the Windows folder.
std::string IniFolder();

// '/' everywhere; on Windows '\\' too.
bool IsPathSeparator(char c);
// The length of the part of `path` that names a root: 1 for "/x"; on Windows 3 for "C:\\x",
// 2 for "C:x", and "\\\\server\\share\\" whole.
std::size_t RootLength(const std::string& path);
std::size_t LastSeparator(const std::string& path); // npos when there is none
std::string DirName(const std::string& path);
std::string BaseName(const std::string& path);
// Where the last part of `path` begins, in either system's form: after the last '/' or '\\',
// or after a drive's "C:". For names taken from a path that may have been typed or recorded
// on Windows (a waveform's own path, a chosen picture name).
std::size_t NameStart(const std::string& path);
// The separator this system shows in paths: '/', on Windows '\\'.
char PreferredSeparator();
// `name` inside `dir`, with one separator between them (none added after a root like "C:\\").
std::string JoinPath(const std::string& dir, const std::string& name);

bool IsFolder(const std::string& path);
// True when this user may create files in `dir`.
bool FolderWritable(const std::string& dir);
// Creates the folder `dir` (not its parents) for this user's own files; true when it is
// there afterwards.
bool MakeFolder(const std::string& dir);

// This process's number, as the temporary file names carry it.
long CurrentProcessId();

} // namespace r470
