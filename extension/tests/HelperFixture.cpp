// The helper test fixture.
#include "HelperFixture.h"

#include <objbase.h>

#include "ThreadState.h"

namespace vexbane::ext::testing {

HMODULE HelperTest::s_dll = nullptr;

std::string HelperTest::Folder() {
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  std::string path = std::string(temp) + "vexbane helper test";
  return path;
}

void HelperTest::SetUpTestSuite() {
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (s_dll) return;
  ::CreateDirectoryA(Folder().c_str(), nullptr);
  const std::string dll = Folder() + "\\VexbaneIEDLL.dll";
  ::CopyFileA(VEXBANE_DLL_PATH, dll.c_str(), FALSE);
  ::CopyFileA(VEXBANE_TRAY_STANDIN_PATH, (Folder() + "\\VexbaneTray.exe").c_str(), FALSE);
  s_dll = ::LoadLibraryA(dll.c_str());
}

HRESULT HelperTest::CallExport(const char* name) {
  using Fn = HRESULT(WINAPI*)();
  auto fn = s_dll ? reinterpret_cast<Fn>(::GetProcAddress(s_dll, name)) : nullptr;
  return fn ? fn() : E_NOTIMPL;
}

void HelperTest::SetUp() {
  ASSERT_NE(s_dll, nullptr) << "helper copy did not load from " << Folder();
  // Other suites of this program register and unregister the build's own copy.
  ASSERT_EQ(CallExport("DllRegisterServer"), S_OK);
  RemoveFile("started.txt");
  RemoveFile("WebSite.dat");
  m_session = std::make_unique<host::HostSession>(m_out);
  ASSERT_TRUE(SUCCEEDED(m_session->shellWindowsResult()));
}

void HelperTest::TearDown() {
  m_session.reset();
  Pump(20);
}

void HelperTest::WriteFile(const std::string& name, const std::string& data) {
  HANDLE f = ::CreateFileA((Folder() + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
  ::CloseHandle(f);
}

std::string HelperTest::ReadFile(const std::string& name) {
  return vexbane::testing::ReadWholeFile(Folder() + "\\" + name, FILE_SHARE_READ | FILE_SHARE_WRITE).value_or("<missing>");
}

void HelperTest::RemoveFile(const std::string& name) { ::DeleteFileA((Folder() + "\\" + name).c_str()); }

int HelperTest::TakeClicks(HWND button) {
  int n = 0;
  MSG msg;
  while (::PeekMessageA(&msg, button, BM_CLICK, BM_CLICK, PM_REMOVE)) ++n;
  return n;
}

ButtonWindow::ButtonWindow(const char* formCaption, const char* buttonCaption) {
  m_form = ::CreateWindowExA(0, "STATIC", formCaption, WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr, nullptr,
                             nullptr);
  m_button = ::CreateWindowExA(0, "BUTTON", buttonCaption, WS_CHILD, 0, 0, 80, 20, m_form, nullptr, nullptr, nullptr);
}

ButtonWindow::~ButtonWindow() {
  if (m_form) ::DestroyWindow(m_form);
}

std::string ButtonWindow::HandleText() const { return HandleToText(m_button); }

}  // namespace vexbane::ext::testing
