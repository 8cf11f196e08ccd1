// The library's life in the host: start-up on the first creation (and what
// happens when it fails), the one poll timer, and when the library may go.
#include <windows.h>

#include <objbase.h>
#include <shlwapi.h>

#include <string>

#include "common/settings.h"
#include "common/win32/guid.h"
#include "tests/win32/host/host.h"
#include "tests/win32/support/com_support.h"
#include "tunebadge.h"

namespace tb::test {
namespace {

using tb::win32::kClsidNickGuid;
using tb::win32::kIidNickGuid;

constexpr char16_t kSettingsParent[] =
    u"Software\\VB and VBA Program Settings\\Corvan's tbg Plugin";

// Tunebadge.dll's own DllCanUnloadNow; E_UNEXPECTED when it is not loaded.
HRESULT CanUnloadNow(const Host& host) {
  return test::CanUnloadNow(GetModuleHandleW(Wide(host.dllPath.c_str())));
}

HRESULT CreateNick(::_Nick** nick) {
  return CoCreateInstance(kClsidNickGuid, nullptr, CLSCTX_INPROC_SERVER, kIidNickGuid,
                          reinterpret_cast<void**>(nick));
}

void CheckClassObjectLocks(Host& host) {
  Ref<IClassFactory> factory;
  host.log.Equal(Hex(CoGetClassObject(kClsidNickGuid, CLSCTX_INPROC_SERVER, nullptr,
                                      IID_IClassFactory, factory.ReceiveVoid())),
                 Hex(S_OK), "CoGetClassObject of class Nick");
  if (!factory) {
    return;
  }
  host.log.Equal(Hex(CanUnloadNow(host)), Hex(S_FALSE),
                 "DllCanUnloadNow while the class object is held");

  Ref<IUnknown> aggregated;
  host.log.Equal(Hex(factory->CreateInstance(reinterpret_cast<IUnknown*>(factory.Get()),
                                             IID_IUnknown, aggregated.ReceiveVoid())),
                 Hex(CLASS_E_NOAGGREGATION), "class Nick cannot be aggregated");
  host.log.Ok(!aggregated, "a refused aggregation hands out nothing");

  factory->LockServer(TRUE);
  factory.Reset();
  host.log.Equal(Hex(CanUnloadNow(host)), Hex(S_FALSE), "DllCanUnloadNow while LockServer(TRUE)");
  CoGetClassObject(kClsidNickGuid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                   factory.ReceiveVoid());
  if (factory) {
    factory->LockServer(FALSE);
  }
  factory.Reset();
  host.log.Equal(Hex(CanUnloadNow(host)), Hex(S_OK),
                 "DllCanUnloadNow once the lock and the class object are given back");
}

}  // namespace

// A parent key that only takes volatile subkeys makes the first default
// setting fail to store: start-up fails, the host gets E_FAIL and no object,
// and nothing is left running.
void CheckFailedStartup(Host& host) {
  SHDeleteKeyW(HKEY_CURRENT_USER, Wide(kSettingsParent));
  // Only the plug-in's own key is volatile: in a fresh prefix the key above
  // it is missing, and made along with it, it would be volatile as well, and
  // refuse every later start-up.
  HKEY above = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings", 0, nullptr,
                      REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &above,
                      nullptr) == ERROR_SUCCESS) {
    RegCloseKey(above);
  }
  HKEY parent = nullptr;
  const LSTATUS made =
      RegCreateKeyExW(HKEY_CURRENT_USER, Wide(kSettingsParent), 0, nullptr, REG_OPTION_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &parent, nullptr);
  host.log.Equal(static_cast<long>(made), 0L, "a volatile settings parent for the failure");
  if (parent != nullptr) {
    RegCloseKey(parent);
  }

  const int objectsBefore = host.messenger.objectsCreated;
  ::_Nick* nick = nullptr;
  host.log.Equal(Hex(CreateNick(&nick)), Hex(E_FAIL),
                 "creation fails when start-up cannot store its defaults");
  host.log.Ok(nick == nullptr, "a failed creation hands out no object");
  if (nick != nullptr) {
    nick->Release();
  }
  host.log.Equal(host.messenger.objectsCreated, objectsBefore,
                 "a failed start-up stops before the hidden form makes its Messenger object");
  host.log.Equal(Hex(CanUnloadNow(host)), Hex(S_OK),
                 "DllCanUnloadNow after a failed start-up: no timer, no object");
  CheckClassObjectLocks(host);

  host.log.Equal(static_cast<long>(SHDeleteKeyW(HKEY_CURRENT_USER, Wide(kSettingsParent))), 0L,
                 "the volatile settings parent is removed");
}

// The next creation runs start-up again, and this time it succeeds.
void CheckStartup(Host& host) {
  const int objectsBefore = host.messenger.objectsCreated;
  Ref<::_Nick> nick;
  host.log.Equal(Hex(CreateNick(nick.Receive())), Hex(S_OK), "CoCreateInstance of class Nick");
  host.log.Ok(static_cast<bool>(nick), "creation hands out an object");

  const std::u16string data = kSettingsKeyPath;
  host.log.Equal(ReadText(HKEY_CURRENT_USER, data, kOnOff), std::u16string(kDefaultOnOff),
                 "start-up stores onOff");
  host.log.Equal(ReadText(HKEY_CURRENT_USER, data, kCurrentTag), std::u16string(kDefaultCurrentTag),
                 "start-up stores CurrentTag");
  host.log.Equal(ReadText(HKEY_CURRENT_USER, data, kCurrentTagMMJ),
                 std::u16string(kDefaultCurrentTagMMJ), "start-up stores CurrentTagMMJ");
  host.log.Equal(ReadText(HKEY_CURRENT_USER, data, kCurrentTagWMP),
                 std::u16string(kDefaultCurrentTagWMP), "start-up stores CurrentTagWMP");
  host.log.Ok(host.messenger.objectsCreated > objectsBefore,
              "start-up makes a Messenger object for the hidden form (made " +
                  std::to_string(host.messenger.objectsCreated - objectsBefore) + ")");
  host.log.Equal(Hex(CanUnloadNow(host)), Hex(S_FALSE), "DllCanUnloadNow while an object lives");

  const int objectsAfterStartup = host.messenger.objectsCreated;
  Ref<::_Nick> second;
  host.log.Equal(Hex(CreateNick(second.Receive())), Hex(S_OK), "a second CoCreateInstance");
  host.log.Equal(host.messenger.objectsCreated, objectsAfterStartup,
                 "start-up runs once: a second object makes no Messenger object");
}

// With onOff "1" and Messenger online, every tick of the one poll timer reads
// MyStatus once: about one read a second, however many objects there are.
void CheckPollRate(Host& host) {
  constexpr DWORD kPumpMs = 3500;
  const auto readsWhilePumping = [&] {
    PumpFor(150);  // a tick that fell due while nobody pumped
    host.messenger.statusReads = 0;
    PumpFor(kPumpMs);
    return host.messenger.statusReads;
  };

  Ref<::_Nick> first;
  CreateNick(first.Receive());
  const int reads = readsWhilePumping();
  host.log.Ok(reads >= 2 && reads <= 4,
              "the poll timer reads MyStatus about once a second: 3 +- 1 reads expected in " +
                  std::to_string(kPumpMs) + " ms, got " + std::to_string(reads));

  Ref<::_Nick> second;
  host.log.Equal(Hex(CreateNick(second.Receive())), Hex(S_OK), "another object");
  const int readsWithTwo = readsWhilePumping();
  host.log.Ok(readsWithTwo >= 2 && readsWithTwo <= 4,
              "a second object starts no second timer: 3 +- 1 reads expected, got " +
                  std::to_string(readsWithTwo));

  first.Reset();
  second.Reset();
  host.log.Equal(Hex(CanUnloadNow(host)), Hex(S_FALSE),
                 "DllCanUnloadNow with every object released: the poll timer keeps the library");
}

// When the library is freed while the process goes on, its poll timer and
// Messenger objects must go with it, so that the host's message loop goes on
// safely. Windows' CoUninitialize frees it; Wine's keeps it loaded, so the
// host frees it as Windows would.
void CheckLibraryFreed(Host& host) {
  const HMODULE module = GetModuleHandleW(Wide(host.dllPath.c_str()));
  if (module != nullptr) {
    FreeLibrary(module);
  }
  host.log.Ok(GetModuleHandleW(Wide(host.dllPath.c_str())) == nullptr,
              "Tunebadge.dll is freed after CoUninitialize");
  const int reads = host.messenger.statusReads;
  PumpFor(1500);
  host.log.Equal(host.messenger.statusReads, reads, "no poll tick once the library is gone");
  host.log.Equal(host.messenger.liveObjects, 0,
                 "the freed library released every Messenger object it made");
}

}  // namespace tb::test
