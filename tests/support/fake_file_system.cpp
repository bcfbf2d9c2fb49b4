#include "support/fake_file_system.h"

namespace kovaren::fake {
namespace {

// A file being written: its bytes go into the fake's map only through the file system's own steps.
class FakeNewFile final : public NewFile {
 public:
  FakeNewFile(FakeFileSystem& owner, std::filesystem::path path) : owner_(owner), path_(std::move(path)) {}
  const std::filesystem::path& path() const override { return path_; }
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
  std::filesystem::path path_;
};

}  // namespace

void FakeFileSystem::Put(const std::filesystem::path& path, std::string bytes) {
  for (auto folder = path.parent_path(); !folder.empty() && folder != folder.parent_path(); folder = folder.parent_path())
    folders.insert(folder);
  folders.insert(path.root_path());
  files[path] = std::move(bytes);
}

bool FakeFileSystem::CanChangeIn(const std::filesystem::path& folder) const {
  return folders.contains(folder) && !readOnlyFolders.contains(folder);
}

std::optional<std::string> FakeFileSystem::ReadWholeFile(const std::filesystem::path& path, uintmax_t maxBytes) {
  ++reads;
  const auto file = files.find(path);
  if (file == files.end() || unreadableFiles.contains(path) || file->second.size() > maxBytes) return std::nullopt;
  return file->second;
}

bool FakeFileSystem::IsMissing(const std::filesystem::path& path) {
  return !files.contains(path) && !folders.contains(path);
}

bool FakeFileSystem::CanOpenForReading(const std::string& path) {
  return files.contains(path) && !unreadableFiles.contains(path);
}

std::unique_ptr<NewFile> FakeFileSystem::CreateFileBeside(const std::filesystem::path& target) {
  std::filesystem::path temp = target;
  temp += ".new";
  if (failing == Step::CreateFile || !CanChangeIn(target.parent_path()) || !IsMissing(temp)) return nullptr;
  files[temp];
  return std::make_unique<FakeNewFile>(*this, temp);
}

bool FakeFileSystem::MoveOver(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (failing == Step::MoveOver || !CanChangeIn(to.parent_path()) || folders.contains(to)) return false;
  const auto source = files.find(from);
  if (source == files.end()) return false;
  files[to] = std::move(source->second);
  files.erase(from);
  unreadableFiles.erase(to);
  ++replacements;
  return true;
}

void FakeFileSystem::Remove(const std::filesystem::path& path) {
  if (CanChangeIn(path.parent_path())) files.erase(path);
}

bool FakeFileSystem::CreateFolders(const std::filesystem::path& folder) {
  if (folders.contains(folder)) return true;
  if (files.contains(folder) || failing == Step::CreateFolder) return false;
  const std::filesystem::path parent = folder.parent_path();
  if (parent == folder || !CreateFolders(parent) || readOnlyFolders.contains(parent)) return false;
  folders.insert(folder);
  return true;
}

}  // namespace kovaren::fake
