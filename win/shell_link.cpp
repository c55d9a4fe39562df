// Shortcuts through IShellLinkA and IPersistFile.
#include "win/shell_link.h"

#include <objbase.h>
#include <shlobj.h>

#include <vector>

#include "win/com_ptr.h"
#include "win/file.h"

namespace vexbane::win {

HRESULT CreateShellLink(const std::string& linkPath, const std::string& target, const std::string& description) noexcept {
  ComPtr<IShellLinkA> link;
  HRESULT hr = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(link.put()));
  if (FAILED(hr)) return hr;
  if (FAILED(hr = link->SetPath(target.c_str()))) return hr;
  if (FAILED(hr = link->SetWorkingDirectory(FolderOf(target).c_str()))) return hr;
  if (FAILED(hr = link->SetDescription(description.c_str()))) return hr;
  ComPtr<IPersistFile> file;
  if (FAILED(hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put())))) return hr;
  // IPersistFile takes a wide name on every system; the 95 family converts with the ANSI code page.
  int length = ::MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, nullptr, 0);
  if (length <= 0) return HRESULT_FROM_WIN32(::GetLastError());
  std::vector<wchar_t> wide(static_cast<size_t>(length));
  ::MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide.data(), length);
  return file->Save(wide.data(), TRUE);
}

}  // namespace vexbane::win
