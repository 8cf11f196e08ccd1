#include "plugin/win32/nick_object.h"

#include <cstdint>
#include <new>
#include <string>

#include "common/win32/bstr.h"
#include "common/win32/guarded.h"
#include "plugin/core/plugin.h"
#include "plugin/win32/module.h"

namespace tb::win32 {
namespace {

VARIANT_BOOL Bool(bool value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }

}  // namespace

HRESULT NickObject::Create(Plugin& plugin, REFIID iid, void** object) noexcept {
  *object = nullptr;
  return Guarded(plugin.Platform().diagnostics, "creation",
                 [&] { return HandOut(new NickObject(plugin), iid, object); });
}

NickObject::NickObject(Plugin& plugin)
    : nick_(plugin), diagnostics_(plugin.Platform().diagnostics) {}

NickObject::~NickObject() {
  if (vtableInfo_ != nullptr) {
    vtableInfo_->Release();
  }
  if (dispatchInfo_ != nullptr) {
    dispatchInfo_->Release();
  }
}

HRESULT NickObject::LoadTypeInfo() {
  if (vtableInfo_ != nullptr) {
    return S_OK;
  }
  ITypeLib* library = nullptr;
  HRESULT hr = LoadModuleTypeLib(&library);
  if (FAILED(hr)) {
    return hr;
  }
  ITypeInfo* dispatchInfo = nullptr;
  hr = library->GetTypeInfoOfGuid(kIidNickGuid, &dispatchInfo);
  library->Release();
  if (FAILED(hr)) {
    return hr;
  }
  // A dual interface is described twice; the vtable half is the one whose
  // functions DispInvoke can call.
  HREFTYPE vtable = 0;
  ITypeInfo* vtableInfo = nullptr;
  hr = dispatchInfo->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtable);
  if (SUCCEEDED(hr)) {
    hr = dispatchInfo->GetRefTypeInfo(vtable, &vtableInfo);
  }
  if (FAILED(hr)) {
    dispatchInfo->Release();
    return hr;
  }
  dispatchInfo_ = dispatchInfo;
  vtableInfo_ = vtableInfo;
  return S_OK;
}

HRESULT NickObject::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) {
    return E_POINTER;
  }
  *count = 1;
  return S_OK;
}

HRESULT NickObject::GetTypeInfo(UINT index, LCID /*locale*/, ITypeInfo** info) {
  if (info == nullptr) {
    return E_POINTER;
  }
  *info = nullptr;
  if (index != 0) {
    return DISP_E_BADINDEX;
  }
  const HRESULT hr = LoadTypeInfo();
  if (FAILED(hr)) {
    return hr;
  }
  dispatchInfo_->AddRef();
  *info = dispatchInfo_;
  return S_OK;
}

HRESULT NickObject::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID /*locale*/,
                                  DISPID* ids) {
  if (!IsEqualIID(iid, IID_NULL)) {
    return DISP_E_UNKNOWNINTERFACE;
  }
  const HRESULT hr = LoadTypeInfo();
  return FAILED(hr) ? hr : DispGetIDsOfNames(vtableInfo_, names, count, ids);
}

HRESULT NickObject::Invoke(DISPID id, REFIID iid, LCID /*locale*/, WORD flags, DISPPARAMS* params,
                           VARIANT* result, EXCEPINFO* exception, UINT* argError) {
  if (!IsEqualIID(iid, IID_NULL)) {
    return DISP_E_UNKNOWNINTERFACE;
  }
  const HRESULT hr = LoadTypeInfo();
  if (FAILED(hr)) {
    return hr;
  }
  return DispInvoke(static_cast<_Nick*>(this), vtableInfo_, id, flags, params, result, exception,
                    argError);
}

HRESULT NickObject::Initialize(LONG nVersion, BSTR sUserEmail, IDispatch* oMessenger,
                               VARIANT_BOOL* pResult) {
  if (pResult == nullptr) {
    return E_POINTER;
  }
  *pResult = VARIANT_FALSE;
  return Guarded(diagnostics_, "Initialize", [&] {
    *pResult = Bool(nick_.Initialize(nVersion, TextOf(sUserEmail), oMessenger));
    return S_OK;
  });
}

HRESULT NickObject::Uninitialize(VARIANT* pResult) {
  if (pResult == nullptr) {
    return E_POINTER;
  }
  VariantInit(pResult);
  return Guarded(diagnostics_, "Uninitialize", [&] {
    nick_.Uninitialize();
    return S_OK;
  });
}

HRESULT NickObject::GetPublishInfo(BSTR* sPluginName, LONG* nCommandCount, LONG* nTagCount,
                                   VARIANT_BOOL* pResult) {
  if (nCommandCount == nullptr || nTagCount == nullptr || pResult == nullptr) {
    return E_POINTER;
  }
  *pResult = VARIANT_FALSE;
  return Guarded(diagnostics_, "GetPublishInfo", [&] {
    InOutBstr name(sPluginName);
    std::int32_t commands = *nCommandCount;
    std::int32_t tags = *nTagCount;
    const bool answered = nick_.GetPublishInfo(name.text, commands, tags);
    const HRESULT stored = StoreChanged(name);
    if (SUCCEEDED(stored)) {
      *nCommandCount = commands;
      *nTagCount = tags;
      *pResult = Bool(answered);
    }
    return stored;
  });
}

HRESULT NickObject::GetPublishCommandInfo(LONG nCommandIdx, BSTR* sName, BSTR* sValue, BSTR* sHelp,
                                          VARIANT* pResult) {
  if (pResult == nullptr) {
    return E_POINTER;
  }
  VariantInit(pResult);
  return Guarded(diagnostics_, "GetPublishCommandInfo", [&] {
    InOutBstr name(sName);
    InOutBstr value(sValue);
    // The help text is the host's: it is read, and never written back.
    std::u16string help = sHelp != nullptr ? TextOf(*sHelp) : std::u16string();
    nick_.GetPublishCommandInfo(nCommandIdx, name.text, value.text, help);
    return StoreChanged(name, value);
  });
}

HRESULT NickObject::ParseCommand(BSTR sCommand, BSTR sCommandArg, IDispatch* oConversationWnd,
                                 BSTR* sResult, VARIANT_BOOL* pResult) {
  if (pResult == nullptr) {
    return E_POINTER;
  }
  *pResult = VARIANT_FALSE;
  return Guarded(diagnostics_, "ParseCommand", [&] {
    InOutBstr result(sResult);
    const bool handled =
        nick_.ParseCommand(TextOf(sCommand), TextOf(sCommandArg), oConversationWnd, result.text);
    const HRESULT stored = StoreChanged(result);
    if (SUCCEEDED(stored)) {
      *pResult = Bool(handled);
    }
    return stored;
  });
}

HRESULT NickObject::ParseTag(BSTR sTag, IDispatch* oConversationWnd, BSTR* sResult,
                             VARIANT_BOOL* pResult) {
  if (pResult == nullptr) {
    return E_POINTER;
  }
  *pResult = VARIANT_FALSE;
  return Guarded(diagnostics_, "ParseTag", [&] {
    InOutBstr result(sResult);
    const bool handled = nick_.ParseTag(TextOf(sTag), oConversationWnd, result.text);
    const HRESULT stored = StoreChanged(result);
    if (SUCCEEDED(stored)) {
      *pResult = Bool(handled);
    }
    return stored;
  });
}

}  // namespace tb::win32
