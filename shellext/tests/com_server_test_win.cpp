// The COM server loaded directly: class objects, identity, reference counts and the
// module count behind DllCanUnloadNow.

#include "com_ptr.h"
#include "shell_dll.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

namespace {

class ComServer : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(dll.module, nullptr) << "cannot load velkshell.dll beside the test";
        ASSERT_NE(dll.getClassObject, nullptr);
        ASSERT_NE(dll.canUnloadNow, nullptr);
        // Every case starts and must end with nothing holding the module.
        ASSERT_EQ(dll.canUnloadNow(), S_OK);
    }
    void TearDown() override { EXPECT_EQ(dll.canUnloadNow(), S_OK) << "a count leaked"; }

    ComRef<IClassFactory> factory() {
        ComRef<IClassFactory> result;
        EXPECT_EQ(dll.getClassObject(kTestClsid, IID_IClassFactory, result.putVoid()), S_OK);
        return result;
    }

    const ShellDll& dll = loadShellDll(testProgramFolder() + L"velkshell.dll");
};

TEST_F(ComServer, ExportsByPlainNames) {
    EXPECT_NE(dll.registerServer, nullptr);
    EXPECT_NE(dll.unregisterServer, nullptr);
}

TEST_F(ComServer, OtherClassIsNotAvailableAndOutPointerUntouched) {
    const CLSID other = {
        0x5D2E8B71, 0x9C04, 0x4F6A, {0xB3, 0xE8, 0x1A, 0x7C, 0x6D, 0x92, 0xF0, 0x46}};
    void* marker = reinterpret_cast<void*>(0x1234);
    void* out = marker;
    EXPECT_EQ(dll.getClassObject(other, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, marker);
}

TEST_F(ComServer, ClassObjectAnswersOnlyItsInterfaces) {
    void* out = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(dll.getClassObject(kTestClsid, IID_IContextMenu, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);

    ComRef<IUnknown> unknown;
    ASSERT_EQ(dll.getClassObject(kTestClsid, IID_IUnknown, unknown.putVoid()), S_OK);
    ComRef<IClassFactory> viaQuery;
    EXPECT_EQ(unknown->QueryInterface(IID_IClassFactory, viaQuery.putVoid()), S_OK);
    EXPECT_EQ(static_cast<IUnknown*>(viaQuery.get()), unknown.get());
    out = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(unknown->QueryInterface(IID_IShellExtInit, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
}

TEST_F(ComServer, ClassObjectIsHandedOverWithOneReference) {
    IClassFactory* raw = nullptr;
    ASSERT_EQ(dll.getClassObject(kTestClsid, IID_IClassFactory, reinterpret_cast<void**>(&raw)),
              S_OK);
    EXPECT_EQ(raw->AddRef(), 2u);
    EXPECT_EQ(raw->Release(), 1u);
    EXPECT_EQ(raw->Release(), 0u);
}

TEST_F(ComServer, LoneFactoryDoesNotHoldTheModule) {
    ComRef<IClassFactory> f = factory();
    ASSERT_TRUE(f);
    EXPECT_EQ(dll.canUnloadNow(), S_OK);
}

TEST_F(ComServer, LockServerHoldsTheModuleUntilUnlocked) {
    ComRef<IClassFactory> f = factory();
    ASSERT_TRUE(f);
    EXPECT_EQ(f->LockServer(TRUE), S_OK);
    EXPECT_EQ(f->LockServer(TRUE), S_OK);
    f.reset(); // the locks outlive the factory
    EXPECT_EQ(dll.canUnloadNow(), S_FALSE);
    f = factory();
    EXPECT_EQ(f->LockServer(FALSE), S_OK);
    EXPECT_EQ(dll.canUnloadNow(), S_FALSE);
    EXPECT_EQ(f->LockServer(FALSE), S_OK);
    EXPECT_EQ(dll.canUnloadNow(), S_OK);
}

TEST_F(ComServer, CreateInstanceRefusesAggregationAndUnknownInterfaces) {
    ComRef<IClassFactory> f = factory();
    ASSERT_TRUE(f);
    void* out = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(f->CreateInstance(f.get(), IID_IUnknown, &out), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(dll.canUnloadNow(), S_OK);

    out = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(f->CreateInstance(nullptr, IID_IClassFactory, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    // The object was built and destroyed again: nothing holds the module.
    EXPECT_EQ(dll.canUnloadNow(), S_OK);
}

TEST_F(ComServer, ObjectHasOneIdentityAndOneCountThroughItsThreeInterfaces) {
    ComRef<IClassFactory> f = factory();
    ASSERT_TRUE(f);
    IShellExtInit* init = nullptr;
    ASSERT_EQ(f->CreateInstance(nullptr, IID_IShellExtInit, reinterpret_cast<void**>(&init)), S_OK);
    EXPECT_EQ(dll.canUnloadNow(), S_FALSE);
    f.reset();
    EXPECT_EQ(dll.canUnloadNow(), S_FALSE) << "the object, not the factory, holds the module";

    IContextMenu* menu = nullptr;
    IShellPropSheetExt* pages = nullptr;
    ASSERT_EQ(init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu)), S_OK);
    ASSERT_EQ(menu->QueryInterface(IID_IShellPropSheetExt, reinterpret_cast<void**>(&pages)), S_OK);
    EXPECT_NE(static_cast<void*>(menu), static_cast<void*>(init));
    EXPECT_NE(static_cast<void*>(pages), static_cast<void*>(init));

    // IUnknown through every base is the IShellExtInit pointer.
    IUnknown* identity[3] = {};
    ASSERT_EQ(init->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity[0])), S_OK);
    ASSERT_EQ(menu->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity[1])), S_OK);
    ASSERT_EQ(pages->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity[2])), S_OK);
    for (IUnknown* u : identity)
        EXPECT_EQ(static_cast<void*>(u), static_cast<void*>(init));
    IShellExtInit* initAgain = nullptr;
    ASSERT_EQ(pages->QueryInterface(IID_IShellExtInit, reinterpret_cast<void**>(&initAgain)), S_OK);
    EXPECT_EQ(initAgain, init);

    void* out = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(menu->QueryInterface(IID_IDataObject, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(init->QueryInterface(IID_IContextMenu2, &out), E_NOINTERFACE);
    EXPECT_EQ(pages->ReplacePage(0, nullptr, 0), E_NOTIMPL);

    // One shared count: 1 (creation) + menu + pages + 3 identities + initAgain = 7.
    EXPECT_EQ(pages->AddRef(), 8u);
    EXPECT_EQ(menu->Release(), 7u);
    for (IUnknown* u : identity)
        u->Release();
    initAgain->Release();
    EXPECT_EQ(pages->Release(), 2u);
    EXPECT_EQ(pages->Release(), 1u);
    EXPECT_EQ(dll.canUnloadNow(), S_FALSE);
    EXPECT_EQ(init->Release(), 0u);
    EXPECT_EQ(dll.canUnloadNow(), S_OK);
}

TEST_F(ComServer, TwoObjectsEachHoldTheModule) {
    ComRef<IClassFactory> f = factory();
    ComRef<IUnknown> a, b;
    ASSERT_EQ(f->CreateInstance(nullptr, IID_IUnknown, a.putVoid()), S_OK);
    ASSERT_EQ(f->CreateInstance(nullptr, IID_IShellPropSheetExt, b.putVoid()), S_OK);
    EXPECT_NE(a.get(), b.get());
    a.reset();
    EXPECT_EQ(dll.canUnloadNow(), S_FALSE);
    b.reset();
    EXPECT_EQ(dll.canUnloadNow(), S_OK);
}

} // namespace
