// The helper as the browser meets it: registered from a program folder whose name holds
// spaces, with a stand-in tray program beside it, and driven by the stand-in browser host.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "HostSession.h"
#include "testsupport/registry_fixture.h"

namespace vexbane::ext::testing {

class HelperTest : public ::testing::Test {
 public:
  static std::string ReadFile(const std::string& name);  // "<missing>" when absent
  static std::string FolderForHost() { return Folder(); }
  static void WriteFileForHost(const std::string& name, const std::string& data) { WriteFile(name, data); }
  static void RemoveFileForHost(const std::string& name) { RemoveFile(name); }
  static void PumpForHost(DWORD ms) { Pump(ms); }

 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // The program folder the helper runs from (no trailing backslash).
  static std::string Folder();
  static void WriteFile(const std::string& name, const std::string& data);
  static void RemoveFile(const std::string& name);

  host::HostSession& Session() { return *m_session; }
  static void Pump(DWORD ms) { host::HostSession::Pump(ms); }
  // BM_CLICK messages waiting for `button`; takes them out of the queue.
  static int TakeClicks(HWND button);
  // Calls one of the copied helper's exports.
  static HRESULT CallExport(const char* name);

  vexbane::testing::ScopedProductKey m_key;
  std::ostringstream m_out;
  std::unique_ptr<host::HostSession> m_session;

 private:
  static HMODULE s_dll;
};

// The same cases under both browsers: IE 6 before XP SP2 (NewWindow2 alone) and IE 6 SP2 and
// later (NewWindow3, then NewWindow2 unless cancelled).
class BothBrowsersTest : public HelperTest, public ::testing::WithParamInterface<host::EventOrder> {
 protected:
  void SetUp() override {
    HelperTest::SetUp();
    Session().SetEventOrder(GetParam());
  }
};

inline std::string BrowserName(const ::testing::TestParamInfo<host::EventOrder>& info) {
  return info.param == host::EventOrder::NewWindow2Only ? "IE6" : info.param == host::EventOrder::NewWindow3Then2 ? "IE6SP2" : "Other";
}

#define VEXBANE_BOTH_BROWSERS(Suite)                                                                    \
  INSTANTIATE_TEST_SUITE_P(Browsers, Suite,                                                             \
                           ::testing::Values(host::EventOrder::NewWindow2Only, host::EventOrder::NewWindow3Then2), \
                           BrowserName)

// A top-level window with one child BUTTON, for the tray's hidden buttons and for the foreign
// windows that may take over their handles.
class ButtonWindow {
 public:
  ButtonWindow(const char* formCaption, const char* buttonCaption);
  ~ButtonWindow();
  ButtonWindow(const ButtonWindow&) = delete;
  ButtonWindow& operator=(const ButtonWindow&) = delete;
  HWND button() const { return m_button; }
  std::string HandleText() const;

 private:
  HWND m_form = nullptr;
  HWND m_button = nullptr;
};

}  // namespace vexbane::ext::testing
