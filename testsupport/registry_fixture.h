// Test helpers for the Windows suites: a fresh settings key for each test, and value access.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace vexbane::testing {

// Deletes a key and everything below it; missing keys are fine.
void DeleteKeyTree(HKEY root, const char* path);
// Creates a key (and its parents); returns true when it exists afterwards.
bool CreateKey(HKEY root, const char* path);

// Raw value access that bypasses the product's own readers.
bool ReadRawString(HKEY root, const char* path, const char* name, std::string& text);
void WriteRawString(HKEY root, const char* path, const char* name, const std::string& text);
void WriteRawBytes(HKEY root, const char* path, const char* name, DWORD type, const void* data, DWORD size);
bool ReadRawDword(HKEY root, const char* path, const char* name, DWORD& value);
void WriteRawDword(HKEY root, const char* path, const char* name, DWORD value);
void DeleteValue(HKEY root, const char* path, const char* name);
bool KeyExists(HKEY root, const char* path);

// A fresh, empty settings key for the life of the object; removed afterwards.
class ScopedProductKey {
 public:
  ScopedProductKey();
  ~ScopedProductKey();
  ScopedProductKey(const ScopedProductKey&) = delete;
  ScopedProductKey& operator=(const ScopedProductKey&) = delete;

  void Set(const char* name, const std::string& text) const;
  // The stored text, or "<missing>" when there is no such value.
  std::string Get(const char* name) const;
  void Remove(const char* name) const;
};

// The whole file, opened with `shareMode`; nothing when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::string& path, DWORD shareMode);

// A scratch folder under the temporary folder, emptied and removed afterwards.
class ScopedFolder {
 public:
  explicit ScopedFolder(const std::string& name);
  ~ScopedFolder();
  const std::string& path() const { return m_path; }
  std::string File(const std::string& name) const { return m_path + "\\" + name; }
  void Write(const std::string& name, const std::string& data) const;
  // The file's bytes, or "<missing>".
  std::string Read(const std::string& name) const;

 private:
  std::string m_path;
};

}  // namespace vexbane::testing
