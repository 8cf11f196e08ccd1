// The COM object the host creates: _Nick over one tb::Nick. It only
// marshals: BSTRs to and from UTF-16 texts, VARIANT_BOOLs, VARIANTs, and
// every failure of the portable code into a failed HRESULT.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include "common/win32/com_object.h"
#include "common/win32/guid.h"
#include "platform/diagnostics.h"
#include "plugin/core/nick.h"
#include "tunebadge.h"

namespace tb::win32 {

class NickObject final
    : public ComObject<Lifetime::kHoldsModule, Implements<_Nick, kIidNickGuid, IID_IDispatch>> {
 public:
  // A new object's `iid` interface in *object; start-up must have run.
  static HRESULT Create(Plugin& plugin, REFIID iid, void** object) noexcept;

  // IDispatch, from the embedded type library.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argError) override;

  // _Nick
  HRESULT STDMETHODCALLTYPE Initialize(LONG nVersion, BSTR sUserEmail, IDispatch* oMessenger,
                                       VARIANT_BOOL* pResult) override;
  HRESULT STDMETHODCALLTYPE Uninitialize(VARIANT* pResult) override;
  HRESULT STDMETHODCALLTYPE GetPublishInfo(BSTR* sPluginName, LONG* nCommandCount, LONG* nTagCount,
                                           VARIANT_BOOL* pResult) override;
  HRESULT STDMETHODCALLTYPE GetPublishCommandInfo(LONG nCommandIdx, BSTR* sName, BSTR* sValue,
                                                  BSTR* sHelp, VARIANT* pResult) override;
  HRESULT STDMETHODCALLTYPE ParseCommand(BSTR sCommand, BSTR sCommandArg,
                                         IDispatch* oConversationWnd, BSTR* sResult,
                                         VARIANT_BOOL* pResult) override;
  HRESULT STDMETHODCALLTYPE ParseTag(BSTR sTag, IDispatch* oConversationWnd, BSTR* sResult,
                                     VARIANT_BOOL* pResult) override;

 private:
  explicit NickObject(Plugin& plugin);
  ~NickObject() override;

  // The type information of _Nick as the library describes it (a
  // dispinterface, for GetTypeInfo) and of its vtable (for DispInvoke).
  HRESULT LoadTypeInfo();

  Nick nick_;
  // Where a fault that one of the host's calls met is told.
  platform::Diagnostics& diagnostics_;
  ITypeInfo* dispatchInfo_ = nullptr;
  ITypeInfo* vtableInfo_ = nullptr;
};

}  // namespace tb::win32
