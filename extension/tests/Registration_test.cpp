// The built DLL registers and unregisters itself, and its type library loads.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>

#include "Guids.h"
#include "testsupport/registry_fixture.h"

namespace vexbane::ext {
namespace {

using ServerFn = HRESULT(WINAPI*)();

class RegistrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dll = ::LoadLibraryA(VEXBANE_DLL_PATH);
    ASSERT_NE(m_dll, nullptr) << "cannot load " << VEXBANE_DLL_PATH;
  }
  void TearDown() override {
    if (m_dll) ::FreeLibrary(m_dll);
  }
  HRESULT Call(const char* name) {
    auto fn = reinterpret_cast<ServerFn>(::GetProcAddress(m_dll, name));
    return fn ? fn() : E_NOTIMPL;
  }
  HMODULE m_dll = nullptr;
};

TEST_F(RegistrationTest, ExportsTheFourEntryPointsUndecorated) {
  for (const char* name : {"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer", "DllUnregisterServer"})
    EXPECT_NE(::GetProcAddress(m_dll, name), nullptr) << name;
}

TEST_F(RegistrationTest, RegistersApartmentInprocServerAndTypeLibrary) {
  ASSERT_EQ(Call("DllRegisterServer"), S_OK);
  const std::string inproc = std::string("CLSID\\") + kClsidText + "\\InprocServer32";
  std::string model, path;
  ASSERT_TRUE(testing::ReadRawString(HKEY_CLASSES_ROOT, inproc.c_str(), "ThreadingModel", model));
  EXPECT_EQ(model, "Apartment");
  ASSERT_TRUE(testing::ReadRawString(HKEY_CLASSES_ROOT, inproc.c_str(), nullptr, path));
  EXPECT_NE(path.find("VexbaneIEDLL.dll"), std::string::npos);
  // Internet Explorer's add-on list names the helper by its class key's default value.
  std::string shownName;
  ASSERT_TRUE(testing::ReadRawString(HKEY_CLASSES_ROOT, (std::string("CLSID\\") + kClsidText).c_str(), nullptr, shownName));
  EXPECT_EQ("Vexbane Pop-up Blocker", shownName);
  std::string progId;
  ASSERT_TRUE(testing::ReadRawString(HKEY_CLASSES_ROOT, (std::string("CLSID\\") + kClsidText + "\\ProgID").c_str(),
                                     nullptr, progId));
  EXPECT_EQ("VexbaneIEDLL.CVexbaneIEDLL", progId) << "the ProgID stays";

  ITypeLib* lib = nullptr;
  ASSERT_EQ(::LoadRegTypeLib(kLibidVexbaneIEDLL, 5, 0, LOCALE_NEUTRAL, &lib), S_OK);
  ITypeInfo* info = nullptr;
  ASSERT_EQ(lib->GetTypeInfoOfGuid(kIidCVexbaneIEDLL, &info), S_OK);
  BSTR name = nullptr;
  ASSERT_EQ(info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(std::wstring(name), L"_CVexbaneIEDLL");
  ::SysFreeString(name);
  info->Release();
  TLIBATTR* attr = nullptr;
  ASSERT_EQ(lib->GetLibAttr(&attr), S_OK);
  EXPECT_EQ(attr->wMajorVerNum, 5);
  EXPECT_EQ(attr->wMinorVerNum, 0);
  lib->ReleaseTLibAttr(attr);
  lib->Release();

  ASSERT_EQ(Call("DllUnregisterServer"), S_OK);
  EXPECT_FALSE(testing::KeyExists(HKEY_CLASSES_ROOT, (std::string("CLSID\\") + kClsidText).c_str()));
}

TEST_F(RegistrationTest, ClassFactoryCreatesTheObjectAndCountsItsLife) {
  using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
  auto getClassObject = reinterpret_cast<GetClassObjectFn>(::GetProcAddress(m_dll, "DllGetClassObject"));
  ASSERT_NE(getClassObject, nullptr);
  ::CoInitialize(nullptr);
  IClassFactory* factory = nullptr;
  ASSERT_EQ(getClassObject(kClsidCVexbaneIEDLL, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  EXPECT_EQ(Call("DllCanUnloadNow"), S_FALSE);
  IUnknown* obj = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&obj)), S_OK);
  IUnknown* outer = obj;
  IUnknown* aggregated = nullptr;
  EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, reinterpret_cast<void**>(&aggregated)),
            CLASS_E_NOAGGREGATION);
  factory->LockServer(TRUE);
  factory->Release();
  obj->Release();
  EXPECT_EQ(Call("DllCanUnloadNow"), S_FALSE);  // the lock still holds the server
  ASSERT_EQ(getClassObject(kClsidCVexbaneIEDLL, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  factory->LockServer(FALSE);
  factory->Release();
  EXPECT_EQ(Call("DllCanUnloadNow"), S_OK);
  void* none = nullptr;
  EXPECT_EQ(getClassObject(IID_IUnknown, IID_IClassFactory, &none), CLASS_E_CLASSNOTAVAILABLE);
  ::CoUninitialize();
}

}  // namespace
}  // namespace vexbane::ext
