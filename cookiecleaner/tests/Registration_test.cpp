// The built component registers and unregisters itself (directly and through regsvr32), and its
// class factory creates the object and keeps the module alive while anything lives.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>

#include "Guids.h"
#include "ICookieCleaner.h"
#include "installed_copy.h"

namespace vexbane::cookiecleaner {
namespace {

using testing::InstalledCopy;
using vexbane::testing::KeyExists;
using vexbane::testing::ReadRawString;

const std::string kClsidKey = std::string("CLSID\\") + kClsidText;

class RegistrationTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { s_copy = new InstalledCopy("vexbane-cookie-registration"); }
  static void TearDownTestSuite() {
    delete s_copy;
    s_copy = nullptr;
  }
  void SetUp() override { ASSERT_NE(s_copy->module(), nullptr) << "cannot load a copy of " VEXBANE_COOKIECLEANER_DLL_PATH; }
  void TearDown() override { s_copy->Call("DllUnregisterServer"); }

  static InstalledCopy* s_copy;
};

InstalledCopy* RegistrationTest::s_copy = nullptr;

// Runs a program of the Windows system and gives its exit code (or -1 when it does not start).
long RunAndWait(const std::string& commandLine) {
  STARTUPINFOA startup = {sizeof startup};
  PROCESS_INFORMATION process = {};
  std::string line = commandLine;
  if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return -1;
  ::WaitForSingleObject(process.hProcess, 60000);
  DWORD code = 0;
  ::GetExitCodeProcess(process.hProcess, &code);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return static_cast<long>(code);
}

void ExpectRegisteredAt(const std::string& path) {
  std::string server, model, progId, clsid;
  ASSERT_TRUE(ReadRawString(HKEY_CLASSES_ROOT, (kClsidKey + "\\InprocServer32").c_str(), nullptr, server));
  EXPECT_TRUE(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, server.c_str(), -1, path.c_str(), -1) == CSTR_EQUAL)
      << server << " vs " << path;
  ASSERT_TRUE(ReadRawString(HKEY_CLASSES_ROOT, (kClsidKey + "\\InprocServer32").c_str(), "ThreadingModel", model));
  EXPECT_EQ(model, "Apartment");
  ASSERT_TRUE(ReadRawString(HKEY_CLASSES_ROOT, (kClsidKey + "\\ProgID").c_str(), nullptr, progId));
  EXPECT_EQ(progId, kProgId);
  ASSERT_TRUE(ReadRawString(HKEY_CLASSES_ROOT, (std::string(kProgId) + "\\Clsid").c_str(), nullptr, clsid));
  EXPECT_EQ(clsid, kClsidText);
}

TEST_F(RegistrationTest, ExportsTheFourEntryPointsUndecorated) {
  for (const char* name : {"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer", "DllUnregisterServer"})
    EXPECT_NE(s_copy->Export(name), nullptr) << name;
}

TEST_F(RegistrationTest, RegistersClassProgIdAndTypeLibraryThenRemovesThem) {
  ASSERT_EQ(s_copy->Call("DllRegisterServer"), S_OK);
  ExpectRegisteredAt(s_copy->path());

  ITypeLib* lib = nullptr;
  ASSERT_EQ(::LoadRegTypeLib(kLibidCookieCleaner, kTypeLibMajor, kTypeLibMinor, LOCALE_NEUTRAL, &lib), S_OK);
  ITypeInfo* info = nullptr;
  ASSERT_EQ(lib->GetTypeInfoOfGuid(kIidCookieCleaner, &info), S_OK);
  BSTR name = nullptr;
  ASSERT_EQ(info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(std::wstring(name), L"ICookieCleaner");
  ::SysFreeString(name);
  info->Release();
  lib->Release();

  ASSERT_EQ(s_copy->Call("DllUnregisterServer"), S_OK);
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClsidKey.c_str()));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kProgId));
  EXPECT_NE(::LoadRegTypeLib(kLibidCookieCleaner, kTypeLibMajor, kTypeLibMinor, LOCALE_NEUTRAL, &lib), S_OK);
  // A second unregistration finds nothing to remove and still succeeds.
  EXPECT_EQ(s_copy->Call("DllUnregisterServer"), S_OK);
}

TEST_F(RegistrationTest, Regsvr32RegistersAndUnregistersTheFile) {
  const std::string quoted = "\"" + s_copy->path() + "\"";
  ASSERT_EQ(RunAndWait("regsvr32.exe /s " + quoted), 0);
  ExpectRegisteredAt(s_copy->path());
  ASSERT_EQ(RunAndWait("regsvr32.exe /u /s " + quoted), 0);
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClsidKey.c_str()));
}

TEST_F(RegistrationTest, ClassFactoryServesOnlyItsClassAndHoldsTheModuleWhileAnythingLives) {
  using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
  auto getClassObject = reinterpret_cast<GetClassObjectFn>(s_copy->Export("DllGetClassObject"));
  ASSERT_NE(getClassObject, nullptr);
  ASSERT_EQ(s_copy->Call("DllCanUnloadNow"), S_OK);

  void* none = reinterpret_cast<void*>(1);
  EXPECT_EQ(getClassObject(IID_IDispatch, IID_IClassFactory, &none), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(none, nullptr);

  IClassFactory* factory = nullptr;
  ASSERT_EQ(getClassObject(kClsidCleaner, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  EXPECT_EQ(s_copy->Call("DllCanUnloadNow"), S_FALSE);

  ICookieCleaner* cleaner = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, kIidCookieCleaner, reinterpret_cast<void**>(&cleaner)), S_OK);
  IUnknown* aggregated = nullptr;
  EXPECT_EQ(factory->CreateInstance(cleaner, IID_IUnknown, reinterpret_cast<void**>(&aggregated)),
            CLASS_E_NOAGGREGATION);
  IUnknown* unrelated = nullptr;
  EXPECT_EQ(cleaner->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(&unrelated)), E_NOINTERFACE);
  IDispatch* dispatch = nullptr;
  ASSERT_EQ(cleaner->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
  EXPECT_EQ(static_cast<IUnknown*>(dispatch), static_cast<IUnknown*>(cleaner));
  dispatch->Release();

  ASSERT_EQ(factory->LockServer(TRUE), S_OK);
  factory->Release();
  cleaner->Release();
  EXPECT_EQ(s_copy->Call("DllCanUnloadNow"), S_FALSE);  // the lock alone keeps it
  ASSERT_EQ(getClassObject(kClsidCleaner, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  factory->LockServer(FALSE);
  factory->Release();
  EXPECT_EQ(s_copy->Call("DllCanUnloadNow"), S_OK);
}

}  // namespace
}  // namespace vexbane::cookiecleaner
