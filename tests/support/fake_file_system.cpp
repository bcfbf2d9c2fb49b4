#include "support/fake_file_system.h"

namespace kovaren::fake {
namespace {

// A file being written: its bytes go into the fake's map only through the file system's own steps.
class FakeNewFile final : public NewFile {
 public:
  FakeNewFile(FakeFileSystem& owner, FilePath path) : owner_(owner), path_(std::move(path)) {}
  const FilePath& path() const override { return path_; }
  bool Write(std::string_view bytes) override {
    if (owner_.failing == FakeFileSystem::Step::Write) {
      owner_.files[path_].append(bytes.substr(0, bytes.size() / 2));  // a disk that filled up half way
      return false;
    }
    owner_.files[path_].append(bytes);
    return true;
  }
  bool Flush() override { return owner_.failing != FakeFileSystem::Step::Flush; }
  bool Close() override { return owner_.failing != FakeFileSystem::Step::Close; }

 private:
  FakeFileSystem& owner_;
  FilePath path_;
};

}  // namespace

void FakeFileSystem::Put(const FilePath& path, std::string bytes) {
  for (FilePath folder = path.Folder(); !folder.empty(); folder = folder.Folder()) {
    folders.insert(folder);
    if (folder.Folder() == folder) break;  // the root
  }
  files[path] = std::move(bytes);
}

bool FakeFileSystem::CanChangeIn(const FilePath& folder) const {
  return folders.contains(folder) && !readOnlyFolders.contains(folder);
}

std::optional<std::string> FakeFileSystem::ReadWholeFile(const FilePath& path, uintmax_t maxBytes) {
  ++reads;
  const auto file = files.find(path);
  if (file == files.end() || unreadableFiles.contains(path) || file->second.size() > maxBytes) return std::nullopt;
  return file->second;
}

bool FakeFileSystem::IsMissing(const FilePath& path) {
  return !files.contains(path) && !folders.contains(path);
}

bool FakeFileSystem::CanOpenForReading(const std::string& path) {
  return files.contains(path) && !unreadableFiles.contains(path);
}

std::unique_ptr<NewFile> FakeFileSystem::CreateFileBeside(const FilePath& target) {
  const FilePath temp = target + ".new";
  if (failing == Step::CreateFile || !CanChangeIn(target.Folder()) || !IsMissing(temp)) return nullptr;
  files[temp];
  return std::make_unique<FakeNewFile>(*this, temp);
}

bool FakeFileSystem::MoveOver(const FilePath& from, const FilePath& to) {
  if (failing == Step::MoveOver || !CanChangeIn(to.Folder()) || folders.contains(to)) return false;
  const auto source = files.find(from);
  if (source == files.end()) return false;
  files[to] = std::move(source->second);
  files.erase(from);
  unreadableFiles.erase(to);
  ++replacements;
  return true;
}

void FakeFileSystem::Remove(const FilePath& path) {
  if (CanChangeIn(path.Folder())) files.erase(path);
}

bool FakeFileSystem::CreateFolders(const FilePath& folder) {
  if (folders.contains(folder)) return true;
  if (files.contains(folder) || failing == Step::CreateFolder) return false;
  const FilePath parent = folder.Folder();
  if (parent == folder || !CreateFolders(parent) || readOnlyFolders.contains(parent)) return false;
  folders.insert(folder);
  return true;
}

}  // namespace kovaren::fake
