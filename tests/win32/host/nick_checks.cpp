// The six methods of _Nick as the host calls them: through the vtable, and
// by name through IDispatch with strings passed by reference, as a script
// host passes them.
#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include <array>
#include <string>

#include "common/win32/guid.h"
#include "tests/win32/host/host.h"
#include "tests/win32/support/com_support.h"
#include "tunebadge.h"

namespace tb::test {
namespace {

using tb::win32::kClsidNickGuid;
using tb::win32::kIidNickGuid;

struct Command {
  LONG index;
  const char16_t* name;
  const char16_t* value;
};

constexpr std::array<Command, 4> kCommands = {{
    {1, u"Options", u"xtbgoptions"},
    {2, u"About", u"xtbgabout"},
    {3, u"On", u"xtbgon"},
    {4, u"Off", u"xtbgoff"},
}};

constexpr std::array<const char16_t*, 6> kMethodNames = {
    u"Initialize",   u"Uninitialize", u"GetPublishInfo", u"GetPublishCommandInfo",
    u"ParseCommand", u"ParseTag",
};

bool CreateNick(Host& host, Ref<::_Nick>& nick) {
  const HRESULT hr = CoCreateInstance(kClsidNickGuid, nullptr, CLSCTX_INPROC_SERVER, kIidNickGuid,
                                      nick.ReceiveVoid());
  host.log.Equal(Hex(hr), Hex(S_OK), "CoCreateInstance of class Nick for the calls");
  return static_cast<bool>(nick);
}

void CheckVtableCommandInfo(Host& host, ::_Nick* nick) {
  for (const Command& command : kCommands) {
    const std::string what = "GetPublishCommandInfo(" + std::to_string(command.index) + ")";
    Bstr name(u"name in");
    Bstr value(u"value in");
    Bstr help(u"help in");
    const BSTR helpPassed = help.Get();
    VARIANT result;
    V_VT(&result) = VT_I4;
    host.log.Equal(Hex(nick->GetPublishCommandInfo(command.index, name.Slot(), value.Slot(),
                                                   help.Slot(), &result)),
                   Hex(S_OK), what);
    host.log.Equal(name.Text(), std::u16string(command.name), what + " sName");
    host.log.Equal(value.Text(), std::u16string(command.value), what + " sValue");
    host.log.Ok(help.Get() == helpPassed && help.Text() == u"help in",
                what + " leaves sHelp as passed: got " + Show(help.Text()));
    host.log.Equal(static_cast<int>(V_VT(&result)), int{VT_EMPTY}, what + " answers VT_EMPTY");
  }

  for (const LONG index : {0L, 5L, -1L}) {
    const std::string what = "GetPublishCommandInfo(" + std::to_string(index) + ")";
    Bstr name(u"name in");
    Bstr value(u"value in");
    Bstr help(u"help in");
    const BSTR passed[] = {name.Get(), value.Get(), help.Get()};
    VARIANT result;
    V_VT(&result) = VT_I4;
    host.log.Equal(
        Hex(nick->GetPublishCommandInfo(index, name.Slot(), value.Slot(), help.Slot(), &result)),
        Hex(S_OK), what);
    host.log.Ok(name.Get() == passed[0] && value.Get() == passed[1] && help.Get() == passed[2],
                what + " leaves all three strings exactly as passed");
    host.log.Equal(name.Text() + u"|" + value.Text() + u"|" + help.Text(),
                   std::u16string(u"name in|value in|help in"), what + " texts");
    host.log.Equal(static_cast<int>(V_VT(&result)), int{VT_EMPTY}, what + " answers VT_EMPTY");
  }

  Bstr name;
  Bstr value;
  Bstr help;
  VARIANT result;
  VariantInit(&result);
  nick->GetPublishCommandInfo(5, name.Slot(), value.Slot(), help.Slot(), &result);
  host.log.Ok(name.Get() == nullptr && value.Get() == nullptr && help.Get() == nullptr,
              "GetPublishCommandInfo(5) leaves null strings null");
  nick->GetPublishCommandInfo(3, name.Slot(), value.Slot(), help.Slot(), &result);
  host.log.Equal(name.Text() + u"|" + value.Text(), std::u16string(u"On|xtbgon"),
                 "GetPublishCommandInfo(3) fills null strings");
  host.log.Ok(help.Get() == nullptr, "GetPublishCommandInfo(3) leaves a null sHelp null");
}

// IDispatch::Invoke with the arguments in reverse order, as DISPPARAMS wants.
HRESULT InvokeMethod(IDispatch* object, DISPID id, VARIANT* reversedArgs, UINT count,
                     VARIANT* result) {
  DISPPARAMS params{reversedArgs, nullptr, count, 0};
  EXCEPINFO exception{};
  UINT argError = 0;
  const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                    result, &exception, &argError);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  return hr;
}

VARIANT ByRef(BSTR* text) {
  VARIANT v;
  V_VT(&v) = VT_BSTR | VT_BYREF;
  V_BSTRREF(&v) = text;
  return v;
}

VARIANT ByRef(LONG* number) {
  VARIANT v;
  V_VT(&v) = VT_I4 | VT_BYREF;
  V_I4REF(&v) = number;
  return v;
}

VARIANT ByValue(BSTR text) {
  VARIANT v;
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = text;
  return v;
}

VARIANT Number(VARTYPE type, LONG number) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = type;
  if (type == VT_I2) {
    V_I2(&v) = static_cast<SHORT>(number);
  } else {
    V_I4(&v) = number;
  }
  return v;
}

VARIANT Nothing() {
  VARIANT v;
  V_VT(&v) = VT_DISPATCH;
  V_DISPATCH(&v) = nullptr;
  return v;
}

std::string Shape(const VARIANT& v) {
  if (V_VT(&v) == VT_BOOL) {
    return "VT_BOOL " + std::to_string(V_BOOL(&v));
  }
  return "vt " + std::to_string(V_VT(&v));
}

// The DISPIDs by name, each name also in another case.
void CheckNames(Host& host, IDispatch* object, std::array<DISPID, 6>& ids) {
  for (std::size_t i = 0; i < kMethodNames.size(); ++i) {
    std::wstring name(Wide(kMethodNames[i]));
    LPOLESTR names[] = {name.data()};
    ids[i] = DISPID_UNKNOWN;
    host.log.Equal(Hex(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &ids[i])),
                   Hex(S_OK), "GetIDsOfNames " + Show(std::u16string(kMethodNames[i])));
    host.log.Equal(static_cast<unsigned long>(ids[i]), 0x60030000UL + i,
                   "DISPID of " + Show(std::u16string(kMethodNames[i])));
    for (wchar_t& c : name) {
      c = static_cast<wchar_t>(towlower(c));
    }
    DISPID lower = DISPID_UNKNOWN;
    object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &lower);
    host.log.Equal(lower, ids[i],
                   "names are found in any case: " + Show(std::u16string(kMethodNames[i])));
  }
  std::wstring unknown = L"NoSuchMember";
  LPOLESTR names[] = {unknown.data()};
  DISPID id = 0;
  host.log.Equal(Hex(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)),
                 Hex(DISP_E_UNKNOWNNAME), "GetIDsOfNames of an unknown name");
}

void CheckDispatchTypeInfo(Host& host, IDispatch* object) {
  UINT count = 0;
  object->GetTypeInfoCount(&count);
  host.log.Equal(count, UINT{1}, "GetTypeInfoCount");
  Ref<ITypeInfo> info;
  host.log.Equal(Hex(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.Receive())), Hex(S_OK),
                 "GetTypeInfo(0)");
  if (info) {
    TYPEATTR* attr = nullptr;
    if (SUCCEEDED(info->GetTypeAttr(&attr))) {
      wchar_t text[40] = {};
      StringFromGUID2(attr->guid, text, 40);
      host.log.Equal(std::u16string(reinterpret_cast<const char16_t*>(text)),
                     std::u16string(kIidNick), "GetTypeInfo describes _Nick");
      info->ReleaseTypeAttr(attr);
    }
  }
  Ref<ITypeInfo> none;
  host.log.Equal(Hex(object->GetTypeInfo(1, LOCALE_USER_DEFAULT, none.Receive())),
                 Hex(DISP_E_BADINDEX), "GetTypeInfo(1)");
}

void CheckDispatchCommandInfo(Host& host, IDispatch* object, DISPID id) {
  for (const Command& command : kCommands) {
    const std::string what = "Invoke GetPublishCommandInfo(" + std::to_string(command.index) + ")";
    Bstr name(u"name in");
    Bstr value(u"value in");
    Bstr help(u"help in");
    // VBScript passes a small literal as VT_I2.
    VARIANT args[] = {ByRef(help.Slot()), ByRef(value.Slot()), ByRef(name.Slot()),
                      Number(command.index == 2 ? VT_I2 : VT_I4, command.index)};
    VARIANT result;
    VariantInit(&result);
    host.log.Equal(Hex(InvokeMethod(object, id, args, 4, &result)), Hex(S_OK), what);
    host.log.Equal(name.Text(), std::u16string(command.name), what + " sName");
    host.log.Equal(value.Text(), std::u16string(command.value), what + " sValue");
    host.log.Equal(help.Text(), std::u16string(u"help in"), what + " sHelp");
    host.log.Equal(Shape(result), std::string("vt 0"), what + " answers VT_EMPTY");
    VariantClear(&result);
  }
  for (const LONG index : {0L, 5L}) {
    const std::string what = "Invoke GetPublishCommandInfo(" + std::to_string(index) + ")";
    Bstr name(u"name in");
    Bstr value(u"value in");
    Bstr help(u"help in");
    VARIANT args[] = {ByRef(help.Slot()), ByRef(value.Slot()), ByRef(name.Slot()),
                      Number(VT_I4, index)};
    VARIANT result;
    VariantInit(&result);
    host.log.Equal(Hex(InvokeMethod(object, id, args, 4, &result)), Hex(S_OK), what);
    host.log.Equal(name.Text() + u"|" + value.Text() + u"|" + help.Text(),
                   std::u16string(u"name in|value in|help in"), what + " leaves the strings");
    host.log.Equal(Shape(result), std::string("vt 0"), what + " answers VT_EMPTY");
    VariantClear(&result);
  }
}

}  // namespace

void CheckVtableCalls(Host& host) {
  Ref<::_Nick> nick;
  if (!CreateNick(host, nick)) {
    return;
  }

  Bstr empty(u"");
  VARIANT_BOOL answered = VARIANT_FALSE;
  host.log.Equal(Hex(nick->Initialize(0, empty.Get(), nullptr, &answered)), Hex(S_OK),
                 "Initialize");
  host.log.Equal(answered, VARIANT_BOOL{VARIANT_TRUE}, "Initialize(0, \"\", Nothing) answers True");

  VARIANT result;
  V_VT(&result) = VT_I4;
  host.log.Equal(Hex(nick->Uninitialize(&result)), Hex(S_OK), "Uninitialize");
  host.log.Equal(static_cast<int>(V_VT(&result)), int{VT_EMPTY}, "Uninitialize answers VT_EMPTY");

  Bstr pluginName(u"before");
  LONG commands = -1;
  LONG tags = -1;
  answered = VARIANT_FALSE;
  host.log.Equal(Hex(nick->GetPublishInfo(pluginName.Slot(), &commands, &tags, &answered)),
                 Hex(S_OK), "GetPublishInfo");
  host.log.Equal(pluginName.Text(), std::u16string(u"Tunebadge Plugin"), "GetPublishInfo name");
  host.log.Equal(commands, LONG{4}, "GetPublishInfo command count");
  host.log.Equal(tags, LONG{0}, "GetPublishInfo tag count");
  host.log.Equal(answered, VARIANT_BOOL{VARIANT_TRUE}, "GetPublishInfo answers True");

  CheckVtableCommandInfo(host, nick.Get());

  Bstr command(u"/somethingelse");
  Bstr argument(u"");
  Bstr parsed(u"kept");
  const BSTR parsedPassed = parsed.Get();
  answered = VARIANT_TRUE;
  host.log.Equal(
      Hex(nick->ParseCommand(command.Get(), argument.Get(), nullptr, parsed.Slot(), &answered)),
      Hex(S_OK), "ParseCommand");
  host.log.Equal(answered, VARIANT_BOOL{VARIANT_FALSE}, "ParseCommand of another command");
  host.log.Ok(parsed.Get() == parsedPassed && parsed.Text() == u"kept",
              "ParseCommand of another command leaves sResult: got " + Show(parsed.Text()));

  Bstr tag(u"(!WAT)");
  answered = VARIANT_TRUE;
  host.log.Equal(Hex(nick->ParseTag(tag.Get(), nullptr, parsed.Slot(), &answered)), Hex(S_OK),
                 "ParseTag");
  host.log.Equal(answered, VARIANT_BOOL{VARIANT_FALSE}, "ParseTag of an unknown tag");
  host.log.Ok(parsed.Get() == parsedPassed && parsed.Text() == u"kept",
              "ParseTag of an unknown tag leaves sResult: got " + Show(parsed.Text()));

  host.log.Equal(Hex(nick->Initialize(0, empty.Get(), nullptr, nullptr)), Hex(E_POINTER),
                 "a null retval pointer is refused");
  host.log.Equal(Hex(nick->GetPublishInfo(pluginName.Slot(), nullptr, &tags, &answered)),
                 Hex(E_POINTER), "a null count pointer is refused");
}

void CheckDispatchCalls(Host& host) {
  Ref<::_Nick> nick;
  if (!CreateNick(host, nick)) {
    return;
  }
  Ref<IDispatch> object;
  host.log.Equal(Hex(nick->QueryInterface(IID_IDispatch, object.ReceiveVoid())), Hex(S_OK),
                 "QueryInterface(IDispatch)");
  if (!object) {
    return;
  }
  Ref<IUnknown> unknown;
  Ref<IUnknown> unknownOfDispatch;
  nick->QueryInterface(IID_IUnknown, unknown.ReceiveVoid());
  object->QueryInterface(IID_IUnknown, unknownOfDispatch.ReceiveVoid());
  host.log.Ok(unknown && unknown.Get() == unknownOfDispatch.Get(),
              "IUnknown is the same pointer from _Nick and from IDispatch");
  void* lacking = &host;
  host.log.Equal(Hex(nick->QueryInterface(IID_IClassFactory, &lacking)), Hex(E_NOINTERFACE),
                 "QueryInterface of an interface the object lacks");
  host.log.Ok(lacking == nullptr, "an interface the object lacks is answered with null");
  CheckDispatchTypeInfo(host, object.Get());
  std::array<DISPID, 6> ids{};
  CheckNames(host, object.Get(), ids);

  Bstr email(u"");
  VARIANT init[] = {Nothing(), ByValue(email.Get()), Number(VT_I4, 0)};
  VARIANT result;
  VariantInit(&result);
  host.log.Equal(Hex(InvokeMethod(object.Get(), ids[0], init, 3, &result)), Hex(S_OK),
                 "Invoke Initialize");
  host.log.Equal(Shape(result), std::string("VT_BOOL -1"), "Invoke Initialize answers True");
  VariantClear(&result);

  V_VT(&result) = VT_I4;
  host.log.Equal(Hex(InvokeMethod(object.Get(), ids[1], nullptr, 0, &result)), Hex(S_OK),
                 "Invoke Uninitialize");
  host.log.Equal(Shape(result), std::string("vt 0"), "Invoke Uninitialize answers VT_EMPTY");
  VariantClear(&result);

  Bstr pluginName(u"before");
  LONG commands = -1;
  LONG tags = -1;
  VARIANT info[] = {ByRef(&tags), ByRef(&commands), ByRef(pluginName.Slot())};
  host.log.Equal(Hex(InvokeMethod(object.Get(), ids[2], info, 3, &result)), Hex(S_OK),
                 "Invoke GetPublishInfo");
  host.log.Equal(pluginName.Text(), std::u16string(u"Tunebadge Plugin"),
                 "Invoke GetPublishInfo name, by reference");
  host.log.Equal(commands, LONG{4}, "Invoke GetPublishInfo command count, by reference");
  host.log.Equal(tags, LONG{0}, "Invoke GetPublishInfo tag count, by reference");
  host.log.Equal(Shape(result), std::string("VT_BOOL -1"), "Invoke GetPublishInfo answers True");
  VariantClear(&result);

  CheckDispatchCommandInfo(host, object.Get(), ids[3]);

  Bstr command(u"/somethingelse");
  Bstr argument(u"");
  Bstr parsed(u"kept");
  VARIANT parse[] = {ByRef(parsed.Slot()), Nothing(), ByValue(argument.Get()),
                     ByValue(command.Get())};
  host.log.Equal(Hex(InvokeMethod(object.Get(), ids[4], parse, 4, &result)), Hex(S_OK),
                 "Invoke ParseCommand");
  host.log.Equal(Shape(result), std::string("VT_BOOL 0"), "Invoke ParseCommand answers False");
  host.log.Equal(parsed.Text(), std::u16string(u"kept"), "Invoke ParseCommand leaves sResult");
  VariantClear(&result);

  Bstr tag(u"(!WAT)");
  VARIANT parseTag[] = {ByRef(parsed.Slot()), Nothing(), ByValue(tag.Get())};
  host.log.Equal(Hex(InvokeMethod(object.Get(), ids[5], parseTag, 3, &result)), Hex(S_OK),
                 "Invoke ParseTag");
  host.log.Equal(Shape(result), std::string("VT_BOOL 0"), "Invoke ParseTag answers False");
  host.log.Equal(parsed.Text(), std::u16string(u"kept"), "Invoke ParseTag leaves sResult");
  VariantClear(&result);

  // Which DISP_E_ code a wrong argument list gets differs between Windows
  // and Wine; what matters is that the call is refused and nothing written.
  const HRESULT missing = InvokeMethod(object.Get(), ids[5], parseTag, 2, &result);
  host.log.Ok(FAILED(missing), "Invoke with an argument missing fails: got " + Hex(missing));
  VARIANT tooMany[] = {ByRef(parsed.Slot()), Nothing(), ByValue(tag.Get()), Number(VT_I4, 1),
                       Number(VT_I4, 2)};
  const HRESULT extra = InvokeMethod(object.Get(), ids[5], tooMany, 5, &result);
  host.log.Ok(FAILED(extra), "Invoke with arguments too many fails: got " + Hex(extra));
  host.log.Equal(parsed.Text(), std::u16string(u"kept"), "a refused Invoke leaves sResult");
  host.log.Equal(Hex(InvokeMethod(object.Get(), 0x12345, nullptr, 0, &result)),
                 Hex(DISP_E_MEMBERNOTFOUND), "Invoke of an unknown DISPID");
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  host.log.Equal(Hex(object->Invoke(ids[1], kIidNickGuid, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                    &none, &result, nullptr, nullptr)),
                 Hex(DISP_E_UNKNOWNINTERFACE), "Invoke with an interface other than IID_NULL");
  VariantClear(&result);
}

}  // namespace tb::test
