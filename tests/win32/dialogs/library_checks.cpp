// The dialogs as Tunebadge.dll shows them: the host's "/xtbgabout" and
// "/xtbgoptions" through class Nick, the library's own version block on the
// about box, and the options stored by the library's plug-in.
#include "platform/win32/win32_api.h"

#include <objbase.h>

#include "common/settings.h"
#include "common/win32/guid.h"
#include "platform/win32/registry.h"
#include "tests/win32/dialogs/dialog_checks.h"
#include "tests/win32/dialogs/scripted_user.h"
#include "tests/win32/support/com_support.h"
#include "tunebadge.h"

namespace tb::test {
namespace {

namespace ids = win32::controls;

// "/xtbg..." as the host passes it; whether the plug-in took it.
bool Command(::_Nick* nick, const char16_t* text, CheckLog& log) {
  Bstr command(text);
  Bstr argument(u"");
  Bstr result(u"");
  VARIANT_BOOL handled = VARIANT_FALSE;
  log.Equal(
      Hex(nick->ParseCommand(command.Get(), argument.Get(), nullptr, result.Slot(), &handled)),
      Hex(S_OK), "ParseCommand " + Show(std::u16string(text)));
  return handled != VARIANT_FALSE;
}

}  // namespace

void CheckThroughTheLibrary(const std::u16string& dllPath, CheckLog& log) {
  // Kept loaded to the end: once started, the plug-in's poll timer runs in it.
  const HMODULE library = LoadLibraryW(Wide(dllPath.c_str()));
  log.Ok(library != nullptr, "Tunebadge.dll loads from " + Show(dllPath));
  if (library == nullptr) {
    return;
  }
  using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
  const auto getClassObject = reinterpret_cast<GetClassObject>(
      reinterpret_cast<void (*)()>(GetProcAddress(library, "DllGetClassObject")));
  Ref<IClassFactory> factory;
  Ref<::_Nick> nick;
  if (getClassObject != nullptr) {
    getClassObject(win32::kClsidNickGuid, IID_IClassFactory, factory.ReceiveVoid());
  }
  if (factory) {
    factory->CreateInstance(nullptr, win32::kIidNickGuid, nick.ReceiveVoid());
  }
  log.Ok(static_cast<bool>(nick), "the library hands out a Nick");
  if (!nick) {
    return;
  }

  ScriptedUser aboutUser(log, "the library's about box");
  aboutUser.Then(u"About Tunebadge Plugin", [&](HWND dialog) {
    log.Equal(ItemText(dialog, ids::kVersion), std::u16string(TB_LIBRARY_VERSION_TEXT),
              "the about box shows the library's version");
    log.Ok(GetWindowLongPtrW(dialog, GWLP_HINSTANCE) == reinterpret_cast<LONG_PTR>(library),
           "the about box belongs to the library");
    SendMessageW(GetDlgItem(dialog, ids::kOk), BM_CLICK, 0, 0);
  });
  aboutUser.Start();
  log.Ok(Command(nick.Get(), u"/xtbgabout", log), "/xtbgabout is the plug-in's");
  aboutUser.Finish();

  win32::Win32Registry registry;
  WriteSetting(registry, kPlayer, kPlayerWinamp);
  WriteSetting(registry, kCurrentTagMMJ, u"mm before");
  ScriptedUser optionsUser(log, "the library's options dialog");
  optionsUser.Then(u"Options", [&](HWND dialog) {
    log.Equal(IsDlgButtonChecked(dialog, ids::kWinamp), static_cast<UINT>(BST_CHECKED),
              "the library's options dialog shows the stored player");
    SendMessageW(GetDlgItem(dialog, ids::kMusicMatch), BM_CLICK, 0, 0);
    SendMessageW(GetDlgItem(dialog, ids::kMusicMatchText), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(u"through the library"));
    SendMessageW(GetDlgItem(dialog, ids::kSave), BM_CLICK, 0, 0);
  });
  optionsUser.Start();
  log.Ok(Command(nick.Get(), u"/xtbgoptions", log), "/xtbgoptions is the plug-in's");
  optionsUser.Finish();
  log.Equal(ReadSetting(registry, kPlayer), std::u16string(kPlayerMusicMatch),
            "the library stores the player");
  log.Equal(ReadSetting(registry, kCurrentTagMMJ), std::u16string(u"through the library"),
            "the library stores the template");
}

}  // namespace tb::test
