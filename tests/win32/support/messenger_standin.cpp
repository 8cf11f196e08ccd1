#include "tests/win32/support/messenger_standin.h"

#include <oleauto.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "common/win32/com_object.h"
#include "platform/win32/messenger.h"

namespace tb::test {
namespace {

// The dispatch identifiers the stand-in gives its members.
enum : DISPID {
  kDispMyStatus = 1,
  kDispMyFriendlyName,
  kDispMySigninName,
  kDispInstantMessage,
  kDispHwnd,
};

struct Member {
  const wchar_t* name;
  DISPID id;
};

// A hand-written IDispatch over a few members; the names are found without
// regard to case, as script hosts expect.
class DispatchObject : public win32::ComObject<win32::Lifetime::kHoldsNothing,
                                               win32::Implements<IDispatch, IID_IDispatch>> {
 public:
  DispatchObject(MessengerStandInState& state, const Member* members, std::size_t count)
      : state_(state), members_(members), count_(count) {
    ++state_.liveObjects;
  }
  ~DispatchObject() override { --state_.liveObjects; }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT /*index*/, LCID /*locale*/,
                                        ITypeInfo** info) override {
    *info = nullptr;
    return DISP_E_BADINDEX;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID /*iid*/, LPOLESTR* names, UINT count,
                                          LCID /*locale*/, DISPID* ids) override {
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      for (std::size_t m = 0; m < count_; ++m) {
        if (i == 0 && lstrcmpiW(names[i], members_[m].name) == 0) {
          ids[i] = members_[m].id;
        }
      }
      if (ids[i] == DISPID_UNKNOWN) {
        hr = DISP_E_UNKNOWNNAME;
      }
    }
    return hr;
  }

 protected:
  MessengerStandInState& state_;

  static HRESULT AnswerText(const std::u16string& text, VARIANT* result) {
    if (result == nullptr) {
      return S_OK;
    }
    V_VT(result) = VT_BSTR;
    V_BSTR(result) = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                       static_cast<UINT>(text.size()));
    return V_BSTR(result) != nullptr ? S_OK : E_OUTOFMEMORY;
  }

 private:
  const Member* members_;
  std::size_t count_;
};

constexpr std::array<Member, 1> kWindowMembers = {{{L"HWND", kDispHwnd}}};

class StandInWindow final : public DispatchObject {
 public:
  StandInWindow(MessengerStandInState& state, const ConversationAnswer& answer)
      : DispatchObject(state, kWindowMembers.data(), kWindowMembers.size()), answer_(answer) {}

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID /*iid*/, LCID /*locale*/, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* /*exception*/,
                                   UINT* /*argError*/) override {
    if (id != kDispHwnd) {
      return DISP_E_MEMBERNOTFOUND;
    }
    if ((flags & DISPATCH_PROPERTYGET) == 0 || params->cArgs != 0) {
      return DISP_E_BADPARAMCOUNT;
    }
    if (state_.Enter("IMessengerWindow::HWND")) {
      return E_FAIL;
    }
    if (result == nullptr) {
      return S_OK;
    }
    switch (answer_.kind) {
      case ConversationAnswer::Kind::kWindowI8:
        V_VT(result) = VT_I8;
        V_I8(result) = answer_.hwnd;
        return S_OK;
      case ConversationAnswer::Kind::kWindowText: {
        const std::string digits = std::to_string(answer_.hwnd);
        return AnswerText(std::u16string(digits.begin(), digits.end()), result);
      }
      default:
        V_VT(result) = VT_I4;
        V_I4(result) = static_cast<LONG>(answer_.hwnd);
        return S_OK;
    }
  }

 private:
  ConversationAnswer answer_;
};

constexpr std::array<Member, 4> kMessengerMembers = {{
    {L"MyStatus", kDispMyStatus},
    {L"MyFriendlyName", kDispMyFriendlyName},
    {L"MySigninName", kDispMySigninName},
    {L"InstantMessage", kDispInstantMessage},
}};

class StandInMessenger final : public DispatchObject {
 public:
  explicit StandInMessenger(MessengerStandInState& state)
      : DispatchObject(state, kMessengerMembers.data(), kMessengerMembers.size()) {
    ++state_.objectsCreated;
  }

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID /*iid*/, LCID /*locale*/, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* /*argError*/) override {
    if (result != nullptr) {
      VariantInit(result);
    }
    if (id == kDispInstantMessage) {
      return InstantMessage(flags, params, result, exception);
    }
    if ((flags & DISPATCH_PROPERTYGET) == 0) {
      return DISP_E_MEMBERNOTFOUND;
    }
    if (params->cArgs != 0) {
      return DISP_E_BADPARAMCOUNT;
    }
    switch (id) {
      case kDispMyStatus:
        ++state_.statusReads;
        if (state_.Enter("IMessenger::MyStatus")) {
          return E_FAIL;
        }
        if (FAILED(state_.statusFailure)) {
          return state_.statusFailure;
        }
        if (result != nullptr) {
          V_VT(result) = VT_I4;
          V_I4(result) = state_.status;
        }
        return S_OK;
      case kDispMyFriendlyName:
        if (state_.Enter("IMessenger::MyFriendlyName")) {
          return E_FAIL;
        }
        return AnswerText(state_.friendlyName, result);
      case kDispMySigninName:
        if (state_.Enter("IMessenger::MySigninName")) {
          return E_FAIL;
        }
        return AnswerText(state_.signinName, result);
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  HRESULT InstantMessage(WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception) {
    if ((flags & DISPATCH_METHOD) == 0) {
      return DISP_E_MEMBERNOTFOUND;
    }
    if (params->cArgs != 1 || params->cNamedArgs != 0) {
      return DISP_E_BADPARAMCOUNT;
    }
    ++state_.instantMessages;
    if (state_.Enter("IMessenger::InstantMessage")) {
      return E_FAIL;
    }
    VARIANT contact;
    VariantInit(&contact);
    if (FAILED(VariantChangeType(&contact, &params->rgvarg[0], 0, VT_BSTR))) {
      return DISP_E_TYPEMISMATCH;
    }
    const std::u16string name(reinterpret_cast<const char16_t*>(V_BSTR(&contact)),
                              SysStringLen(V_BSTR(&contact)));
    VariantClear(&contact);

    ConversationAnswer opened;
    const auto found = state_.conversations.find(name);
    if (found == state_.conversations.end()) {
      if (!state_.openConversation) {
        return E_INVALIDARG;
      }
      const HWND window = state_.openConversation(name);
      if (window == nullptr) {
        return E_FAIL;
      }
      opened.hwnd = static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(window));
    }
    const ConversationAnswer& answer = found == state_.conversations.end() ? opened : found->second;
    switch (answer.kind) {
      case ConversationAnswer::Kind::kFails:
        if (answer.failure == DISP_E_EXCEPTION && exception != nullptr) {
          *exception = EXCEPINFO{};
          exception->scode = E_ACCESSDENIED;
          exception->bstrSource = SysAllocString(L"Messenger");
          exception->bstrDescription = SysAllocString(L"The contact cannot be reached.");
        }
        return answer.failure;
      case ConversationAnswer::Kind::kEmpty:
        return S_OK;
      case ConversationAnswer::Kind::kNullObject:
        if (result != nullptr) {
          V_VT(result) = VT_DISPATCH;
          V_DISPATCH(result) = nullptr;
        }
        return S_OK;
      default: {
        auto* window = new StandInWindow(state_, answer);
        if (result == nullptr) {
          window->Release();
          return S_OK;
        }
        V_VT(result) = VT_DISPATCH;
        V_DISPATCH(result) = window;
        return S_OK;
      }
    }
  }
};

class StandInFactory final
    : public win32::ComObject<win32::Lifetime::kHoldsNothing,
                              win32::Implements<IClassFactory, IID_IClassFactory>> {
 public:
  explicit StandInFactory(MessengerStandInState& state) : state_(state) {}

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    *object = nullptr;
    if (outer != nullptr) {
      return CLASS_E_NOAGGREGATION;
    }
    if (state_.Enter("CoCreateInstance(Messenger)") || !state_.installed) {
      return REGDB_E_CLASSNOTREG;
    }
    return win32::HandOut(new StandInMessenger(state_), iid, object);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL /*lock*/) override { return S_OK; }

 private:
  MessengerStandInState& state_;
};

constexpr const char* kFailableCalls[] = {
    "CoCreateInstance(Messenger)", "IMessenger::MyStatus",       "IMessenger::MyFriendlyName",
    "IMessenger::MySigninName",    "IMessenger::InstantMessage", "IMessengerWindow::HWND",
};

}  // namespace

bool MessengerStandInState::FailCall(const std::string& call, std::size_t nth) {
  if (std::find(std::begin(kFailableCalls), std::end(kFailableCalls), call) ==
      std::end(kFailableCalls)) {
    return false;
  }
  failRules_.push_back(FailRule{call, callCounts_[call] + nth});
  return true;
}

bool MessengerStandInState::Enter(const std::string& call) {
  const std::size_t seen = ++callCounts_[call];
  const auto rule = std::find_if(failRules_.begin(), failRules_.end(),
                                 [&](const FailRule& r) { return r.call == call && r.at == seen; });
  if (rule == failRules_.end()) {
    return false;
  }
  failRules_.erase(rule);
  return true;
}

MessengerStandIn::MessengerStandIn(MessengerStandInState& state)
    : factory_(new StandInFactory(state)) {
  registered_ = CoRegisterClassObject(tb::win32::kClsidMessenger, factory_,
                                      CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                      REGCLS_MULTIPLEUSE, &cookie_);
}

MessengerStandIn::~MessengerStandIn() {
  if (SUCCEEDED(registered_)) {
    CoRevokeClassObject(cookie_);
  }
  factory_->Release();
}

}  // namespace tb::test
