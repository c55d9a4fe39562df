// A setup step that writes values into one key, remembering what stood there for its undo.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "core/setup_steps.h"

namespace vexbane::setup {

struct RegistryValue {
  const char* name;             // "" for the key's default value
  std::string text;             // REG_SZ text, when not a number
  bool isDword;
  DWORD number;
  bool onlyWhenMissing;         // a value the user may have changed since: kept when present
};

class RegistryStep final : public SetupStep {
 public:
  RegistryStep(const char* title, HKEY root, const char* path) : m_title(title), m_root(root), m_path(path) {}
  // The values to write, in order.
  RegistryStep& Text(const char* name, std::string text, bool onlyWhenMissing = false) {
    m_values.push_back(RegistryValue{name, std::move(text), false, 0, onlyWhenMissing});
    return *this;
  }
  RegistryStep& Number(const char* name, DWORD number) {
    m_values.push_back(RegistryValue{name, std::string(), true, number, false});
    return *this;
  }
  const char* Name() const noexcept override { return m_title; }
  unsigned long Do() noexcept override;
  void Undo() noexcept override;

 private:
  struct Before {
    const char* name;
    bool existed = false;
    DWORD type = 0;
    std::vector<BYTE> data;
  };

  const char* m_title;
  HKEY m_root;
  const char* m_path;
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
