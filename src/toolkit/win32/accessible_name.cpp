#include "toolkit/win32/accessible_name.h"

#include <oleacc.h>

#include <memory>
#include <string>

#include "common/win32/system_function.h"
#include "toolkit/win32/handles.h"

namespace tk::win32 {

namespace {

using common::win32::SystemFunction;

// oleacc, and the COM apartment through which its answers reach the screen reader's process,
// from the first question on for the rest of the program, as imports would be.
class Accessibility {
 public:
  static const Accessibility& Get() {
    static const Accessibility loaded;
    return loaded;
  }
  ~Accessibility() {
    if (uninitialize_) uninitialize_();
  }
  Accessibility(const Accessibility&) = delete;
  Accessibility& operator=(const Accessibility&) = delete;

  bool Ready() const { return inApartment_ && createStandard && lresultFromObject && allocString; }
  bool CanCreate() const { return inApartment_ && createInstance; }

  HRESULT(WINAPI* createInstance)(REFCLSID, LPUNKNOWN, DWORD, REFIID, void**) = nullptr;
  HRESULT(WINAPI* createStandard)(HWND, LONG, REFIID, void**) = nullptr;
  LRESULT(WINAPI* lresultFromObject)(REFIID, WPARAM, LPUNKNOWN) = nullptr;
  BSTR(WINAPI* allocString)(const OLECHAR*) = nullptr;

 private:
  Accessibility() {
    const HMODULE oleacc = LoadLibraryA("oleacc.dll");
    const HMODULE ole32 = LoadLibraryA("ole32.dll");
    const HMODULE oleaut32 = LoadLibraryA("oleaut32.dll");
    createStandard = SystemFunction<decltype(createStandard)>(oleacc, "CreateStdAccessibleObject");
    lresultFromObject = SystemFunction<decltype(lresultFromObject)>(oleacc, "LresultFromObject");
    allocString = SystemFunction<decltype(allocString)>(oleaut32, "SysAllocString");
    createInstance = SystemFunction<decltype(createInstance)>(ole32, "CoCreateInstance");
    // CoInitialize rather than CoInitializeEx, which Windows 95 has only with DCOM: the same
    // single-threaded apartment.
    using Initialize = HRESULT(WINAPI*)(LPVOID);
    const auto initialize = SystemFunction<Initialize>(ole32, "CoInitialize");
    const HRESULT status = initialize ? initialize(nullptr) : E_FAIL;
    // A thread some other code put into the multithreaded apartment serves as well.
    inApartment_ = SUCCEEDED(status) || status == RPC_E_CHANGED_MODE;
    if (SUCCEEDED(status)) {
      uninitialize_ = SystemFunction<decltype(uninitialize_)>(ole32, "CoUninitialize");
    }
  }

  bool inApartment_ = false;
  void(WINAPI* uninitialize_)() = nullptr;
};

// The system's accessible object of a control, answering with the program's name for it and
// passing every other question on: role, state, place and default action stay the system's. It is
// one COM object: every interface it hands out is its own, so that a client coming back to
// IAccessible from any of them finds the named object, not the system's. It serves only systems
// without annotation, whose clients ask no more than IAccessible: IAccIdentity and
// IServiceProvider came with oleacc 2 and UI Automation, and without IEnumVARIANT a client walks
// the (here no) children by index, as AccessibleChildren does.
class NamedAccessible final : public IAccessible {
 public:
  NamedAccessible(HWND window, std::u16string_view name) : window_(window), name_(name) {}
  NamedAccessible(const NamedAccessible&) = delete;
  NamedAccessible& operator=(const NamedAccessible&) = delete;

  void** StandardSlot() { return reinterpret_cast<void**>(&standard_); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(id, __uuidof(IUnknown)) || IsEqualIID(id, __uuidof(IDispatch)) ||
        IsEqualIID(id, __uuidof(IAccessible))) {
      *object = static_cast<IAccessible*>(this);
    } else if (IsEqualIID(id, __uuidof(IOleWindow))) {
      // How a screen reader finds the window behind the object (WindowFromAccessibleObject).
      *object = &windowPart_;
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  // A client in the multithreaded apartment may call from its threads.
  ULONG STDMETHODCALLTYPE AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&references_));
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (V_VT(&child) != VT_I4 || V_I4(&child) != CHILDID_SELF) {
      return standard_->get_accName(child, name);
    }
    if (!name) return E_POINTER;
    *name = Accessibility::Get().allocString(WidePtr(name_));
    return *name ? S_OK : E_OUTOFMEMORY;
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return standard_->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return standard_->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return standard_->GetIDsOfNames(id, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                   UINT* wrong) override {
    return standard_->Invoke(member, id, locale, flags, parameters, result, exception, wrong);
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    return standard_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return standard_->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return standard_->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return standard_->get_accRole(child, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return standard_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
    return standard_->get_accKeyboardShortcut(child, keys);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    return standard_->get_accFocus(child);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return standard_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long how, VARIANT child) override {
    return standard_->accSelect(how, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override {
    return standard_->accHitTest(left, top, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return standard_->accDoDefaultAction(child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

 private:
  ~NamedAccessible() {
    if (standard_) standard_->Release();
  }

  // IOleWindow as a part of this object rather than a second base, whose type information would
  // bring the library's multiple-inheritance casts (3.5 KB) into the program.
  class WindowPart final : public IOleWindow {
   public:
    explicit WindowPart(NamedAccessible& whole) : whole_(whole) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
      return whole_.QueryInterface(id, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return whole_.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return whole_.Release(); }
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
      if (!window) return E_POINTER;
      *window = whole_.window_;
      return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

   private:
    NamedAccessible& whole_;
  };

  IAccessible* standard_ = nullptr;
  HWND window_;
  WindowPart windowPart_{*this};
  std::u16string name_;
  LONG references_ = 1;
};

struct Releaser {
  void operator()(IUnknown* object) const { object->Release(); }
};

// Their values, not oleacc's exports of them: oleacc is loaded only when asked for.
constexpr GUID kAccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID kIAccPropServices = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID kNameProperty = {
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

std::unique_ptr<IAccPropServices, Releaser> PropertyServices() {
  const Accessibility& com = Accessibility::Get();
  IAccPropServices* services = nullptr;
  if (!com.CanCreate() ||
      FAILED(com.createInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kIAccPropServices,
                                reinterpret_cast<void**>(&services)))) {
    services = nullptr;
  }
  return std::unique_ptr<IAccPropServices, Releaser>(services);
}

}  // namespace

bool AnnotateName(HWND window, std::u16string_view name) {
  const auto services = PropertyServices();
  if (!services) return false;
  const std::u16string text(name);
  return SUCCEEDED(services->SetHwndPropStr(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                            kNameProperty, WidePtr(text)));
}

void ClearAnnotatedName(HWND window) {
  if (const auto services = PropertyServices()) {
    services->ClearHwndProps(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &kNameProperty,
                             1);
  }
}

LRESULT AccessibleObjectNamed(HWND window, WPARAM wParam, std::u16string_view name) {
  const Accessibility& oleacc = Accessibility::Get();
  if (!oleacc.Ready()) return 0;
  const std::unique_ptr<NamedAccessible, Releaser> named(new NamedAccessible(window, name));
  if (FAILED(oleacc.createStandard(window, OBJID_CLIENT, __uuidof(IAccessible),
                                   named->StandardSlot()))) {
    return 0;
  }
  // Holds its own reference for the screen reader, given up when the reader lets go.
  const LRESULT answer = oleacc.lresultFromObject(__uuidof(IAccessible), wParam, named.get());
  return answer > 0 ? answer : 0;
}

}  // namespace tk::win32
