// The list file as the cache sees it, opened through the program's data-file calls.
#include "SharedListFile.h"

#include <windows.h>

#include "win/file.h"
#include "win/file_stamp.h"

namespace vexbane::ext {
namespace {

// Stamped and read through one handle, so the stamp belongs to the file whose text is read.
class OpenListFile final : public AllowListFile {
 public:
  OpenListFile(const std::string& path, win::FolderWatch& watch) : m_path(path), m_watch(watch) {}
  bool Unchanged() override { return m_watch.Quiet(); }
  bool Open(FileStamp& stamp) override {
    // Armed before the stamp: a write after it is noticed, whether or not the stamp shows it.
    m_watch.Arm(m_path);
    DWORD rc = win::OpenDataFile(m_path, m_file);
    if (rc == ERROR_FILE_NOT_FOUND) {
      // A missing list is created empty, as the editor would, and read as such. (Not in one
      // open-or-create: on the 95 family the file is missing for a moment in every save.)
      win::CreateFileIfMissing(m_path);
      rc = win::OpenDataFile(m_path, m_file);
    }
    return rc == ERROR_SUCCESS && win::StampOf(m_file.get(), stamp) == ERROR_SUCCESS;
  }
  bool ReadAll(std::string& text) override { return win::ReadToEnd(m_file.get(), text) == ERROR_SUCCESS; }
  uint64_t Now() override { return win::SystemTimeTicks(); }

 private:
  const std::string& m_path;
  win::FolderWatch& m_watch;
  win::UniqueFile m_file;
};

}  // namespace

const AllowListMatcher* SharedListFile::Current(const std::string& path) {
  OpenListFile file(path, m_watch);
  return m_cache.Current(path, file);
}

}  // namespace vexbane::ext
