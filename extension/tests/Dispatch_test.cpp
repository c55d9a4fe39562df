// The helper's COM identity as a client sees it: interfaces, the dual default interface and
// its one method, called by name through the type library.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include "CVexbaneIEDLL.h"
#include "Guids.h"
#include "HelperFixture.h"

namespace vexbane::ext::testing {
namespace {

using DispatchTest = HelperTest;

TEST_F(DispatchTest, DefaultInterfaceIsDualAndRunsTheQuitRoutineByName) {
  host::HostWindow& w = Session().Open();
  _CVexbaneIEDLL* helper = nullptr;
  ASSERT_EQ(w.helper()->QueryInterface(kIidCVexbaneIEDLL, reinterpret_cast<void**>(&helper)), S_OK);
  IDispatch* dispatch = nullptr;
  ASSERT_EQ(helper->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
  EXPECT_EQ(static_cast<IUnknown*>(dispatch), static_cast<IUnknown*>(helper));

  UINT count = 0;
  EXPECT_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
  ITypeInfo* info = nullptr;
  ASSERT_EQ(dispatch->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info), S_OK);
  info->Release();

  wchar_t name[] = L"m_ie_OnQuit";
  LPOLESTR names[] = {name};
  DISPID id = 0;
  ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
  EXPECT_EQ(id, 0x60030000);
  wchar_t bogus[] = L"NoSuchMethod";
  names[0] = bogus;
  EXPECT_NE(dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);

  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  EXPECT_EQ(dispatch->Invoke(0x60030000, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, nullptr, nullptr,
                             nullptr),
            S_OK);
  // The browser's own quit event and a direct call after it find the routine already done.
  EXPECT_EQ(helper->m_ie_OnQuit(), S_OK);
  w.browser()->FireOnQuit();
  dispatch->Release();
  helper->Release();
}

TEST_F(DispatchTest, SinkAnswersOnlyForTheBrowserEventsAndIgnoresOtherEvents) {
  m_key.Set("Popup", "2");
  host::HostWindow& w = Session().Open();
  // Events the helper does not handle (StatusTextChange 102, DocumentComplete 259) change nothing.
  w.browser()->Fire(102, {});
  w.browser()->Fire(259, {});
  EXPECT_FALSE(w.NewWindow()) << "the attach's click time is still there";
  IObjectWithSite* site = nullptr;
  EXPECT_EQ(w.helper()->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&site)), S_OK);
  site->Release();
  IUnknown* none = nullptr;
  EXPECT_EQ(w.helper()->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(&none)), E_NOINTERFACE);
}

}  // namespace
}  // namespace vexbane::ext::testing
