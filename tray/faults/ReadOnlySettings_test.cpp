// What a limited user of the NT family meets when the installation gave Users no right to the
// settings key: the key's DACL lets everyone read it and no one write it (Wine enforces a key's
// DACL even on its administrator). The helper still decides by the stored level, and a menu
// choice is refused: the check mark stays on the stored level and the program says why, once.
#include <windows.h>

#include <objbase.h>
#include <gtest/gtest.h>

#include <vector>

#include "FaultSupport.h"
#include "core/settings.h"
#include "core/tray_menu.h"
#include "core/tray_state.h"
#include "testsupport/registry_fixture.h"

namespace vexbane::faults {
namespace {

using vexbane::testing::ScopedFolder;
using vexbane::testing::ScopedProductKey;

// The key's DACL for the test's life: one entry, allowing `rights` to the group given by its
// authority and RIDs. Put back as it was afterwards, so the key can be removed.
class KeyDaclOfOne {
 public:
  KeyDaclOfOne(SID_IDENTIFIER_AUTHORITY authority, BYTE count, DWORD rid0, DWORD rid1, DWORD rights) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, 0, READ_CONTROL | WRITE_DAC, &key) !=
        ERROR_SUCCESS)
      return;
    m_saved.resize(4096);
    DWORD size = static_cast<DWORD>(m_saved.size());
    if (::RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, m_saved.data(), &size) != ERROR_SUCCESS) m_saved.clear();
    PSID group = nullptr;
    ::AllocateAndInitializeSid(&authority, count, rid0, rid1, 0, 0, 0, 0, 0, 0, &group);
    std::vector<BYTE> acl(256);
    ::InitializeAcl(reinterpret_cast<PACL>(acl.data()), static_cast<DWORD>(acl.size()), ACL_REVISION);
    ::AddAccessAllowedAce(reinterpret_cast<PACL>(acl.data()), ACL_REVISION, rights, group);
    SECURITY_DESCRIPTOR sd;
    ::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    ::SetSecurityDescriptorDacl(&sd, TRUE, reinterpret_cast<PACL>(acl.data()), FALSE);
    m_set = !m_saved.empty() && ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
    ::FreeSid(group);
    ::RegCloseKey(key);
  }
  ~KeyDaclOfOne() {
    if (!m_set) return;
    // READ_CONTROL | WRITE_DAC is not in the read-only DACL; the owner may always change it.
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, 0, WRITE_DAC, &key) != ERROR_SUCCESS) return;
    ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, m_saved.data());
    ::RegCloseKey(key);
  }
  bool set() const { return m_set; }

 private:
  std::vector<BYTE> m_saved;
  bool m_set = false;
};

tray::TrayState StateOf(HWND form) {
  DWORD_PTR packed = 0;
  ::SendMessageTimeoutA(form, ::RegisterWindowMessageA(tray::kTrayStateMessage), 0, 0, SMTO_NORMAL, 5000, &packed);
  return tray::UnpackTrayState(static_cast<uint32_t>(packed));
}

int CheckedLevel(const tray::TrayState& state) {
  for (int level = 0; level < 5; ++level)
    if (state.levelChecked[level]) return level;
  return -1;
}

// Both tests start the same way: level 4 stored, no sound, nothing else running, and a tray
// program started with its start-up notices taken.
class ReadOnlySettings : public ::testing::Test {
 protected:
  void SetUp() override {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ASSERT_EQ(program.error(), "");
    key.Set("Popup", "4");
    key.Set("PopupSave", "4");
    key.Set("Sound", "2");
    key.Set("BlockMessenger", "0");
    key.Set("AutoClean", "0");
    key.Set("CountIE", "0");
  }
  void TearDown() override {
    TrayDriver::EndStrayCopies(2000);
    ::CoUninitialize();
  }
  // True when the tray program runs; its start-up notices are taken.
  bool StartTray(TrayDriver& tray) {
    if (!tray.EnsureRunning(program.File("VexbaneTray.exe"), key)) return false;
    tray.TakeNotices();
    return true;
  }

  ScopedProductKey key;
  ProgramFolder program;
  ScopedFolder browser{"vexbane read-only settings browser"};
};

TEST_F(ReadOnlySettings, TheHelperKeepsTheStoredLevelAndAMenuChoiceIsRefusedWithOneNotice) {
  {
    TrayDriver tray;
    ASSERT_TRUE(StartTray(tray));
    ASSERT_EQ(CheckedLevel(StateOf(tray.form())), 4);
    {
      // What a limited user meets without the setup's grant: Everyone (S-1-1-0) may read.
      KeyDaclOfOne readOnly(SECURITY_WORLD_SID_AUTHORITY, 1, SECURITY_WORLD_RID, 0, KEY_READ);
      ASSERT_TRUE(readOnly.set()) << "the key's DACL could not be set";
      // "Allow Popup", then "Block Ad Popup (Low)": neither can be stored.
      ASSERT_TRUE(tray.Command(tray::TrayMenuItemOf(tray::LevelItem(0)).id));
      std::vector<Notice> notices = tray.TakeNotices();
      ASSERT_EQ(notices.size(), 1u) << "the refusal is said";
      EXPECT_EQ(notices[0].title, "Vexbane settings");
      EXPECT_EQ(notices[0].text,
                "This account may not change Vexbane's settings, so your choice was not stored. An administrator can "
                "reinstall Vexbane to allow every account to change them.");
      EXPECT_EQ(CheckedLevel(StateOf(tray.form())), 4) << "the check mark stays on the stored level";
      EXPECT_EQ(key.Get("Popup"), "4");
      ASSERT_TRUE(tray.Command(tray::TrayMenuItemOf(tray::LevelItem(1)).id));
      EXPECT_TRUE(tray.TakeNotices().empty()) << "said once a run";
      EXPECT_EQ(CheckedLevel(StateOf(tray.form())), 4);

      // The helper reads the level it cannot write to: level 4 blocks even right after a click.
      const auto report = RunBrowser("open\nwait 300\nclick\nnewwindow http://pop.example/\nquit\nwait tray\n",
                                     browser.path());
      ASSERT_TRUE(report.has_value()) << "the browser did not finish";
      EXPECT_NE(report->find("newwindow blocked"), std::string::npos) << *report;
      EXPECT_EQ(key.Get("Popup"), "4");
    }
    tray.Stop();
  }
}

// With no more than the setup grants Users on the key (accountsteps: read, set values, create
// subkeys), every write the programs make goes through: the menu choice is stored without a
// notice and the helper counts its window in "CountIE".
TEST_F(ReadOnlySettings, TheRightsTheSetupGrantsUsersAreEnoughForEveryWrite) {
  {
    TrayDriver tray;
    ASSERT_TRUE(StartTray(tray));
    {
      KeyDaclOfOne usersOnly(SECURITY_NT_AUTHORITY, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS,
                             KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY);
      ASSERT_TRUE(usersOnly.set());
      ASSERT_TRUE(tray.Command(tray::TrayMenuItemOf(tray::LevelItem(1)).id));
      EXPECT_TRUE(tray.TakeNotices().empty());
      EXPECT_EQ(key.Get("Popup"), "1");
      EXPECT_EQ(CheckedLevel(StateOf(tray.form())), 1);
      const auto report = RunBrowser("open\nwait 300\nsetting CountIE\nquit\nwait tray\n", browser.path());
      ASSERT_TRUE(report.has_value()) << "the browser did not finish";
      EXPECT_NE(report->find("setting CountIE 1"), std::string::npos) << *report;
      EXPECT_EQ(key.Get("CountIE"), "0") << "and back to none at the last window";
    }
    tray.Stop();
  }
}

}  // namespace
}  // namespace vexbane::faults
