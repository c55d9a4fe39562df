// (d) The cookie cleaning of 10,000 files against a plain FindFirstFile/DeleteFile loop.
#include <windows.h>

#include <string>

#include "CookieFolderCleaning.h"
#include "bench_table.h"
#include "core/settings.h"
#include "testsupport/registry_fixture.h"

namespace vexbane::bench {
namespace {

constexpr int kFiles = 10000;

std::string Scratch(const char* name) {
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  return std::string(temp) + name;
}

void Fill(const std::string& folder) {
  for (int i = 0; i < kFiles; ++i) {
    std::string name = folder + "\\user@site" + std::to_string(i) + "[1].txt";
    HANDLE f = ::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f != INVALID_HANDLE_VALUE) ::CloseHandle(f);
  }
}

void PlainDeleteLoop(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ::DeleteFileA((folder + "\\" + found.cFileName).c_str());
  } while (::FindNextFileA(find, &found));
  ::FindClose(find);
}

}  // namespace

void CleaningFamily(std::vector<Row>& rows) {
  const std::string program = Scratch("vexbane bench cleaner");
  const std::string cookies = Scratch("vexbane bench cookies");
  ::CreateDirectoryA(program.c_str(), nullptr);
  ::CreateDirectoryA(cookies.c_str(), nullptr);
  std::string saved;
  const bool hadValue =
      testing::ReadRawString(HKEY_CURRENT_USER, settings::kShellFoldersKeyPath, settings::kCookies, saved);
  testing::WriteRawString(HKEY_CURRENT_USER, settings::kShellFoldersKeyPath, settings::kCookies, cookies);

  Pair pair;
  auto clean = [&] {
    Fill(cookies);
    double t0 = Now();
    cookiecleaner::CleanCookieFolder(program);
    return (Now() - t0) * 1e6 / kFiles;
  };
  auto loop = [&] {
    Fill(cookies);
    double t0 = Now();
    PlainDeleteLoop(cookies);
    return (Now() - t0) * 1e6 / kFiles;
  };
  // By turns, every other round the plain loop first.
  for (int r = 0; r < 5; ++r) {
    if (r % 2) {
      const double b = loop();
      pair.Add(clean(), b);
    } else {
      const double a = clean();
      pair.Add(a, loop());
    }
  }
  if (hadValue) testing::WriteRawString(HKEY_CURRENT_USER, settings::kShellFoldersKeyPath, settings::kCookies, saved);
  else testing::DeleteValue(HKEY_CURRENT_USER, settings::kShellFoldersKeyPath, settings::kCookies);
  PlainDeleteLoop(cookies);
  ::RemoveDirectoryA(cookies.c_str());
  ::RemoveDirectoryA(program.c_str());
  rows.push_back({"cookie cleaning, 10,000 files (per file)", "FindFirstFile/DeleteFile loop",
                  pair, "<= 1.1x"});
}

}  // namespace vexbane::bench
