// Self-registration through regsvr32, and what Tunebadge.dll carries for it:
// the embedded type library and the version block.
#include <windows.h>

#include <oleauto.h>
#include <winver.h>

#include <string>
#include <vector>

#include "common/com_identity.h"
#include "common/win32/guid.h"
#include "tests/win32/host/host.h"
#include "tests/win32/support/com_support.h"
#include "tunebadge.h"

namespace tb::test {
namespace {

using tb::win32::kClsidNickGuid;
using tb::win32::kIidNickGuid;
using tb::win32::kLibIdGuid;

#ifdef _WIN64
constexpr char16_t kPlatformKey[] = u"win64";
constexpr SYSKIND kSysKind = SYS_WIN64;
#else
constexpr char16_t kPlatformKey[] = u"win32";
constexpr SYSKIND kSysKind = SYS_WIN32;
#endif

const std::u16string kClassKey = std::u16string(u"CLSID\\") + kClsidNick;
const std::u16string kInterfaceKey = std::u16string(u"Interface\\") + kIidNick;
const std::u16string kTypeLibKey = std::u16string(u"TypeLib\\") + kLibId;

std::u16string Lower(std::u16string text) {
  for (char16_t& c : text) {
    if (c >= u'A' && c <= u'Z') {
      c = static_cast<char16_t>(c - u'A' + u'a');
    }
  }
  return text;
}

std::string Guid(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return std::string(text, text + wcslen(text));
}

// The registered keys, each named for the failure message.
struct RegisteredKey {
  const char* what;
  std::u16string path;
};

std::vector<RegisteredKey> RegisteredKeys() {
  return {
      {"the ProgID key", kProgId},
      {"the class key", kClassKey},
      {"the interface key", kInterfaceKey},
      {"the type library key", kTypeLibKey},
  };
}

}  // namespace

void CheckNothingRegistered(Host& host, const std::string& when) {
  for (const auto& key : RegisteredKeys()) {
    host.log.Equal(KeyExists(HKEY_CLASSES_ROOT, key.path), false,
                   std::string(key.what) + " " + when);
  }
}

void CheckRegistration(Host& host) {
  host.log.Equal(RunRegsvr32(u"/s", host.dllPath), 0, "regsvr32 /s Tunebadge.dll exits with 0");

  host.log.Equal(ReadText(HKEY_CLASSES_ROOT, std::u16string(kProgId) + u"\\CLSID", u""),
                 std::u16string(kClsidNick), "HKCR\\Tunebadge.Nick\\CLSID names the class");
  host.log.Equal(Lower(ReadText(HKEY_CLASSES_ROOT, kClassKey + u"\\InprocServer32", u"")),
                 Lower(host.dllPath), "InprocServer32 is the library's full path");
  host.log.Equal(ReadText(HKEY_CLASSES_ROOT, kClassKey + u"\\InprocServer32", u"ThreadingModel"),
                 std::u16string(u"Apartment"), "InprocServer32 ThreadingModel");
  host.log.Equal(ReadText(HKEY_CLASSES_ROOT, kClassKey + u"\\ProgID", u""), std::u16string(kProgId),
                 "the class's ProgID");
  host.log.Equal(KeyExists(HKEY_CLASSES_ROOT, kInterfaceKey), true,
                 "HKCR\\Interface\\{3F0A2147-...} exists");
  host.log.Equal(ReadText(HKEY_CLASSES_ROOT, kInterfaceKey + u"\\TypeLib", u""),
                 std::u16string(kLibId), "the interface names its type library");
  host.log.Equal(KeyExists(HKEY_CLASSES_ROOT, kTypeLibKey + u"\\1.0"), true,
                 "HKCR\\TypeLib\\{C7570BE6-...}\\1.0 exists");
  host.log.Equal(
      Lower(ReadText(HKEY_CLASSES_ROOT, kTypeLibKey + u"\\1.0\\0\\" + kPlatformKey, u"")),
      Lower(host.dllPath), "the registered type library is the one in Tunebadge.dll");

  CLSID clsid{};
  host.log.Equal(Hex(CLSIDFromProgID(Wide(kProgId), &clsid)), Hex(S_OK),
                 "CLSIDFromProgID(\"Tunebadge.Nick\")");
  host.log.Equal(Guid(clsid), Guid(kClsidNickGuid), "the ProgID's class is Nick");
}

void CheckTypeLibrary(Host& host) {
  host.log.Equal(Guid(__uuidof(::_Nick)), Guid(kIidNickGuid), "the IDL's _Nick has the IID");
  host.log.Equal(Guid(__uuidof(::Nick)), Guid(kClsidNickGuid), "the IDL's Nick has the CLSID");

  Ref<ITypeLib> library;
  const HRESULT loaded = LoadTypeLibEx(Wide(host.dllPath.c_str()), REGKIND_NONE, library.Receive());
  host.log.Equal(Hex(loaded), Hex(S_OK), "LoadTypeLibEx on Tunebadge.dll");
  if (!library) {
    return;
  }
  TLIBATTR* libAttr = nullptr;
  if (SUCCEEDED(library->GetLibAttr(&libAttr))) {
    host.log.Equal(Guid(libAttr->guid), Guid(kLibIdGuid), "the type library's LIBID");
    host.log.Equal(libAttr->wMajorVerNum, WORD{1}, "the type library's major version");
    host.log.Equal(libAttr->wMinorVerNum, WORD{0}, "the type library's minor version");
    host.log.Equal(static_cast<int>(libAttr->syskind), static_cast<int>(kSysKind),
                   "the type library is made for this architecture");
    library->ReleaseTLibAttr(libAttr);
  } else {
    host.log.Ok(false, "GetLibAttr");
  }

  Ref<ITypeInfo> coclass;
  host.log.Equal(Hex(library->GetTypeInfoOfGuid(kClsidNickGuid, coclass.Receive())), Hex(S_OK),
                 "the type library describes class Nick");
  Ref<ITypeInfo> dispatch;
  host.log.Equal(Hex(library->GetTypeInfoOfGuid(kIidNickGuid, dispatch.Receive())), Hex(S_OK),
                 "the type library describes _Nick");
  if (!dispatch) {
    return;
  }
  TYPEATTR* attr = nullptr;
  if (SUCCEEDED(dispatch->GetTypeAttr(&attr))) {
    const WORD wanted = TYPEFLAG_FDUAL | TYPEFLAG_FHIDDEN | TYPEFLAG_FNONEXTENSIBLE;
    host.log.Equal(attr->wTypeFlags & wanted, int{wanted}, "_Nick is dual, hidden, nonextensible");
    dispatch->ReleaseTypeAttr(attr);
  }
  HREFTYPE vtableRef = 0;
  Ref<ITypeInfo> vtable;
  if (FAILED(dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableRef)) ||
      FAILED(dispatch->GetRefTypeInfo(vtableRef, vtable.Receive()))) {
    host.log.Ok(false, "_Nick has a vtable half");
    return;
  }
  if (FAILED(vtable->GetTypeAttr(&attr))) {
    host.log.Ok(false, "GetTypeAttr of _Nick's vtable");
    return;
  }
  host.log.Equal(static_cast<int>(attr->typekind), static_cast<int>(TKIND_INTERFACE),
                 "_Nick's vtable half is an interface");
  host.log.Equal(attr->cFuncs, WORD{6}, "_Nick has six methods of its own");
  host.log.Equal(attr->cbSizeVft, static_cast<WORD>(13 * sizeof(void*)),
                 "_Nick's vtable: IDispatch's seven entries and six more");
  vtable->ReleaseTypeAttr(attr);

  struct Method {
    const char16_t* name;
    SHORT params;
  };
  const Method methods[] = {
      {u"Initialize", 4},     {u"Uninitialize", 1},
      {u"GetPublishInfo", 4}, {u"GetPublishCommandInfo", 5},
      {u"ParseCommand", 5},   {u"ParseTag", 4},
  };
  for (UINT i = 0; i < 6; ++i) {
    std::string what = "method ";
    what += std::to_string(i + 1);
    FUNCDESC* func = nullptr;
    if (FAILED(vtable->GetFuncDesc(i, &func))) {
      host.log.Ok(false, what + ": GetFuncDesc");
      continue;
    }
    Bstr name;
    vtable->GetDocumentation(func->memid, name.Slot(), nullptr, nullptr, nullptr);
    what += ' ';
    what += Show(name.Text());
    host.log.Equal(name.Text(), std::u16string(methods[i].name), what + " name, in vtable order");
    host.log.Equal(static_cast<unsigned long>(func->memid), 0x60030000UL + i, what + " DISPID");
    host.log.Equal(func->cParams, methods[i].params, what + " parameter count, retval included");
    host.log.Equal(static_cast<int>(func->elemdescFunc.tdesc.vt), int{VT_HRESULT},
                   what + " returns HRESULT");
    const USHORT last = func->lprgelemdescParam[func->cParams - 1].paramdesc.wParamFlags;
    host.log.Equal(last & (PARAMFLAG_FOUT | PARAMFLAG_FRETVAL),
                   int{PARAMFLAG_FOUT | PARAMFLAG_FRETVAL}, what + " ends with [out, retval]");
    vtable->ReleaseFuncDesc(func);
  }
}

void CheckVersionResource(Host& host) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(Wide(host.dllPath.c_str()), &ignored);
  host.log.Ok(size != 0, "Tunebadge.dll has a version block");
  if (size == 0) {
    return;
  }
  std::vector<BYTE> block(size);
  if (GetFileVersionInfoW(Wide(host.dllPath.c_str()), 0, size, block.data()) == FALSE) {
    host.log.Ok(false, "GetFileVersionInfoW");
    return;
  }
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) != FALSE &&
      fixed != nullptr) {
    host.log.Equal(fixed->dwFileVersionMS, DWORD{0x00010000}, "FileVersion 1.0");
    host.log.Equal(fixed->dwFileVersionLS, DWORD{0}, "FileVersion x.x.0.0");
    host.log.Equal(fixed->dwProductVersionMS, DWORD{0x00010000}, "ProductVersion 1.0");
  } else {
    host.log.Ok(false, "the version block has its fixed part");
  }

  const auto text = [&](const wchar_t* name) {
    std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    wchar_t* value = nullptr;
    UINT chars = 0;
    if (VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &chars) ==
            FALSE ||
        value == nullptr) {
      return std::u16string(u"<missing>");
    }
    return std::u16string(reinterpret_cast<const char16_t*>(value));
  };
  host.log.Equal(text(L"OLESelfRegister"), std::u16string(),
                 "the library says it registers itself");
  host.log.Equal(text(L"FileVersion"), std::u16string(u"1.0.0.0"), "FileVersion text");
  host.log.Equal(text(L"ProductVersion"), std::u16string(u"1.0.0.0"), "ProductVersion text");
  host.log.Equal(text(L"CompanyName"), std::u16string(u"Tunebadge Plugin"), "CompanyName");
  host.log.Equal(text(L"FileDescription"), std::u16string(u"Tunebadge Plugin"), "FileDescription");
  host.log.Equal(text(L"ProductName"), std::u16string(u"Tunebadge"), "ProductName");
}

void CheckUnregistration(Host& host) {
  host.log.Equal(RunRegsvr32(u"/u /s", host.dllPath), 0,
                 "regsvr32 /u /s Tunebadge.dll exits with 0");
  CheckNothingRegistered(host, "is gone after unregistration");
}

}  // namespace tb::test
