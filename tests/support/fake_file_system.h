// An in-memory file system behind the file seam: files and folders by path, folders that refuse any
// change (as a read-only folder does), files that stand but cannot be read, and one step of a save
// that can be made to fail. It counts the reads and replacements the code under test makes.
#pragma once
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "platform/file_io.h"

namespace kovaren::fake {

class FakeFileSystem final : public FileSystem {
 public:
  enum class Step { None, CreateFile, Write, Flush, Close, MoveOver, CreateFolder };

  std::map<FilePath, std::string> files;
  std::set<FilePath> folders;           // every folder that stands (parents are not implied)
  std::set<FilePath> readOnlyFolders;   // nothing in them is created, replaced or removed
  std::set<FilePath> unreadableFiles;   // stand in `files` but refuse to be read
  Step failing = Step::None;
  int reads = 0;
  int replacements = 0;

  // Adds the file and every folder above it.
  void Put(const FilePath& path, std::string bytes);

  std::optional<std::string> ReadWholeFile(const FilePath& path, uintmax_t maxBytes) override;
  bool IsMissing(const FilePath& path) override;
  bool CanOpenForReading(const std::string& path) override;
  std::unique_ptr<NewFile> CreateFileBeside(const FilePath& target) override;
  bool MoveOver(const FilePath& from, const FilePath& to) override;
  void Remove(const FilePath& path) override;
  bool CreateFolders(const FilePath& folder) override;

 private:
  bool CanChangeIn(const FilePath& folder) const;
};

}  // namespace kovaren::fake
