#include "platform/file_io.h"

// POSIX stand-in for the native build and its tests: the same contract as the Windows seam, with the
// path taken as it is. A new file gets a unique name beside its target (mkstemp) and the old file's
// permissions; rename(2) moves it over the target.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace kovaren {
namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() { Close(); }
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  bool Close() {
    if (fd_ < 0) return true;
    const bool ok = ::close(fd_) == 0;
    fd_ = -1;
    return ok;
  }

 private:
  int fd_;
};

bool IsRegularFile(int fd, uintmax_t* size = nullptr) {
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return false;
  if (size) *size = static_cast<uintmax_t>(info.st_size);
  return true;
}

class PosixNewFile final : public NewFile {
 public:
  PosixNewFile(int fd, FilePath path) : fd_(fd), path_(std::move(path)) {}
  const FilePath& path() const override { return path_; }
  bool Write(std::string_view bytes) override {
    while (!bytes.empty()) {
      const ssize_t n = ::write(fd_.get(), bytes.data(), bytes.size());
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
  }
  bool Flush() override { return ::fsync(fd_.get()) == 0; }
  bool Close() override { return fd_.Close(); }

 private:
  Descriptor fd_;
  FilePath path_;
};

class PosixFileSystem final : public FileSystem {
 public:
  std::optional<std::string> ReadWholeFile(const FilePath& path, uintmax_t maxBytes) override {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    uintmax_t size = 0;
    if (!fd.valid() || !IsRegularFile(fd.get(), &size) || size > maxBytes) return std::nullopt;
    std::string bytes;
    char chunk[16384];
    for (;;) {
      const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return std::nullopt;
      if (n == 0) return bytes;
      bytes.append(chunk, static_cast<size_t>(n));
      if (bytes.size() > maxBytes) return std::nullopt;  // it grew while being read
    }
  }

  bool IsMissing(const FilePath& path) override {
    struct stat info {};
    return ::lstat(path.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR);
  }

  bool CanOpenForReading(const std::string& cp932Path) override {
    Descriptor fd(::open(cp932Path.c_str(), O_RDONLY | O_CLOEXEC));
    return fd.valid() && IsRegularFile(fd.get());
  }

  std::unique_ptr<NewFile> CreateFileBeside(const FilePath& target) override {
    std::string temp = target.native() + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return nullptr;
    auto file = std::make_unique<PosixNewFile>(fd, temp);
    // Keep the old file's permissions; a new file gets the usual ones (mkstemp makes 0600).
    struct stat old {};
    const mode_t mode = ::stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    if (::fchmod(fd, mode) != 0) {
      file.reset();
      ::unlink(temp.c_str());
      return nullptr;
    }
    return file;
  }

  bool MoveOver(const FilePath& from, const FilePath& to) override {
    return ::rename(from.c_str(), to.c_str()) == 0;
  }

  void Remove(const FilePath& path) override { ::unlink(path.c_str()); }

  bool CreateFolders(const FilePath& folder) override {
    std::error_code error;
    std::filesystem::create_directories(folder.native(), error);
    return std::filesystem::is_directory(folder.native(), error);
  }
};

}  // namespace

FileSystem& PlatformFileSystem() {
  static PosixFileSystem files;  // no state of its own
  return files;
}

}  // namespace kovaren
