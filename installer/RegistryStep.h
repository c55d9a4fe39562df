// A setup step that writes values into one key, remembering what stood there for its undo.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "core/setup_steps.h"

namespace vexbane::setup {

struct RegistryValue {
  std::string name;             // "" for the key's default value
  std::string text;             // REG_SZ text, when not a number
  bool isDword = false;
  DWORD number = 0;
  bool onlyWhenMissing = false;  // a value the user may have changed since: kept when present
};

class RegistryStep final : public SetupStep {
 public:
  RegistryStep(std::string title, HKEY root, std::string path, std::vector<RegistryValue> values)
      : m_title(std::move(title)), m_root(root), m_path(std::move(path)), m_values(std::move(values)) {}
  const char* Name() const noexcept override { return m_title.c_str(); }
  unsigned long Do() noexcept override;
  void Undo() noexcept override;

 private:
  struct Before {
    std::string name;
    bool existed = false;
    DWORD type = 0;
    std::vector<BYTE> data;
  };

  std::string m_title;
  HKEY m_root;
  std::string m_path;
  std::vector<RegistryValue> m_values;
  std::vector<std::string> m_createdKeys;  // outermost first
  std::vector<Before> m_before;            // the values written, as they were
};

// Creates every missing key on the way to `path`; `created` receives the keys that did not
// exist, outermost first. Returns a Win32 error code.
LONG CreateKeyPath(HKEY root, const std::string& path, std::vector<std::string>& created);

// True when the key exists.
bool KeyExists(HKEY root, const char* path);

}  // namespace vexbane::setup
