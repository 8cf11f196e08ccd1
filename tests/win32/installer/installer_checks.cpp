// TunebadgeSetup.exe under Wine, driven as a user would: it is started from a
// distribution folder of our making, its message boxes are answered and its
// buttons clicked through real messages, and what it leaves behind is checked
// in the prefix's real registry and file system: the files in a throw-away
// plug-in folder, the host's list, Windows Media Player's list and the COM
// registrations of Tunebadge.Nick and of the publishing plug-in, which the
// distribution holds as "data.cab". Everything the checks add is removed
// again.
#include <windows.h>

#include <objbase.h>
#include <shlwapi.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "installer/win32/setup_controls.h"
#include "tests/support/check_log.h"
#include "tests/win32/support/com_support.h"
#include "tests/win32/support/regsvr32.h"

namespace {

using tb::test::CheckLog;
using tb::test::KeyExists;
namespace controls = tb::setup::controls;

constexpr wchar_t kMsgPlusKey[] = L"SOFTWARE\\Pelorin\\MsgPlus2";
constexpr wchar_t kRegisteredPlugins[] = L"SOFTWARE\\Pelorin\\MsgPlus2\\RegisteredPlugins";
constexpr wchar_t kUiPluginKey[] =
    L"SOFTWARE\\Microsoft\\MediaPlayer\\UIPlugins\\{51EB565B-89F1-4EB8-881F-CC1ACEA33E7C}";
constexpr wchar_t kPublisherClass[] = L"{51EB565B-89F1-4EB8-881F-CC1ACEA33E7C}";
constexpr wchar_t kSettingsKey[] =
    L"Software\\VB and VBA Program Settings\\Corvan's tbg Plugin\\Data";
constexpr DWORD kStepMs = 50;
constexpr DWORD kBoxWaitMs = 15000;
constexpr DWORD kRegistrationWaitMs = 30000;

std::u16string U16(const std::wstring& text) { return {text.begin(), text.end()}; }

void Equal(CheckLog& log, const std::wstring& actual, const std::wstring& expected,
           const std::string& what) {
  log.Equal(U16(actual), U16(expected), what);
}

std::wstring WindowText(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text;
}

std::optional<std::wstring> ReadString(HKEY root, const wchar_t* path, const wchar_t* name) {
  wchar_t data[1024] = {};
  DWORD size = sizeof data - sizeof(wchar_t);
  DWORD type = 0;
  if (RegGetValueW(root, path, name, RRF_RT_ANY, &type, data, &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  return std::wstring(data);
}

std::optional<DWORD> ReadDword(HKEY root, const wchar_t* path, const wchar_t* name) {
  DWORD data = 0;
  DWORD size = sizeof data;
  if (RegGetValueW(root, path, name, RRF_RT_REG_DWORD, nullptr, &data, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return data;
}

void WriteString(HKEY root, const wchar_t* path, const wchar_t* name, const std::wstring& text) {
  SHSetValueW(root, path, name, REG_SZ, text.c_str(),
              static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void DeleteValue(HKEY root, const wchar_t* path, const wchar_t* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    RegDeleteValueW(key, name);
    RegCloseKey(key);
  }
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Bytes(const std::wstring& path) {
  std::string bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return bytes;
  }
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) != FALSE && read > 0) {
    bytes.append(buffer, read);
  }
  CloseHandle(file);
  return bytes;
}

void Write(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
  }
}

// A top-level window of `process` with that class and, when given, caption.
struct Search {
  DWORD process;
  const wchar_t* className;
  const wchar_t* caption;
  HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  if (owner == search->process && IsWindowVisible(window) != FALSE &&
      lstrcmpW(className, search->className) == 0 &&
      (search->caption == nullptr || WindowText(window) == search->caption)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND WaitForWindow(DWORD process, const wchar_t* className, const wchar_t* caption,
                   DWORD timeoutMs) {
  for (DWORD waited = 0; waited < timeoutMs; waited += kStepMs) {
    Search search{process, className, caption, nullptr};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) {
      return search.found;
    }
    Sleep(kStepMs);
  }
  return nullptr;
}

// The installer, started from the distribution folder.
class Setup {
 public:
  Setup(const std::wstring& program, const std::wstring& folder) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring line = L"\"" + program + L"\"";
    started_ = CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              folder.c_str(), &startup, &process_) != FALSE;
  }
  ~Setup() {
    if (started_) {
      if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 5000);
      }
      CloseHandle(process_.hThread);
      CloseHandle(process_.hProcess);
    }
  }
  Setup(const Setup&) = delete;
  Setup& operator=(const Setup&) = delete;
  Setup(Setup&&) = delete;
  Setup& operator=(Setup&&) = delete;

  [[nodiscard]] bool Started() const { return started_; }

  // The next message box with that caption: its text, once pressed OK.
  std::optional<std::wstring> Answer(const wchar_t* caption) {
    HWND box = WaitForWindow(process_.dwProcessId, L"#32770", caption, kBoxWaitMs);
    if (box == nullptr) {
      return std::nullopt;
    }
    wchar_t text[2048] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 2048);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    // Gone before the next one is looked for.
    for (DWORD waited = 0; waited < kBoxWaitMs && IsWindow(box) != FALSE; waited += kStepMs) {
      Sleep(kStepMs);
    }
    return std::wstring(text);
  }

  HWND Window() {
    return WaitForWindow(process_.dwProcessId, controls::kWindowClass, L"Tunebadge Setup",
                         kBoxWaitMs);
  }

  // A click with the mouse on a control of the window, as the user makes
  // it: posted, so that whatever the click opens runs in the installer's own
  // loop while the checks go on.
  void Click(int id) {
    HWND control = GetDlgItem(Window(), id);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  }
  void Choose(int id) { PostMessageW(GetDlgItem(Window(), id), BM_CLICK, 0, 0); }

  // Whether the program ended within the time.
  bool Ended(DWORD timeoutMs) {
    return started_ && WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0;
  }

 private:
  PROCESS_INFORMATION process_{};
  bool started_ = false;
};

// The class of a ProgID ("Tunebadge.Nick") or of a class identifier in
// braces.
std::optional<CLSID> ClassOf(const wchar_t* name) {
  CLSID clsid{};
  const HRESULT hr =
      name[0] == L'{' ? CLSIDFromString(name, &clsid) : CLSIDFromProgID(name, &clsid);
  return SUCCEEDED(hr) ? std::optional<CLSID>(clsid) : std::nullopt;
}

// Where a class is served from, once regsvr32 has run.
std::optional<std::wstring> Server(const wchar_t* name) {
  const auto clsid = ClassOf(name);
  if (!clsid) {
    return std::nullopt;
  }
  wchar_t guid[64] = {};
  StringFromGUID2(*clsid, guid, 64);
  const std::wstring path = std::wstring(L"CLSID\\") + guid + L"\\InprocServer32";
  return ReadString(HKEY_CLASSES_ROOT, path.c_str(), L"");
}

// Waits, within a bound, until regsvr32 (which runs on its own) has
// registered the class from `path`; answers where it is served from.
std::wstring WaitForServer(const wchar_t* name, const std::wstring& path) {
  std::wstring server;
  for (DWORD waited = 0; waited < kRegistrationWaitMs; waited += 100) {
    server = Server(name).value_or(L"");
    if (lstrcmpiW(server.c_str(), path.c_str()) == 0) {
      break;
    }
    Sleep(100);
  }
  return server;
}

// CoCreateInstance of the class, then Release: 0 when both worked, else the
// HRESULT.
HRESULT Create(const wchar_t* name) {
  const auto clsid = ClassOf(name);
  if (!clsid) {
    return REGDB_E_CLASSNOTREG;
  }
  IUnknown* object = nullptr;
  const HRESULT result = CoCreateInstance(*clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                          reinterpret_cast<void**>(&object));
  if (object != nullptr) {
    object->Release();
  }
  return result;
}

// This program again, run as "--create NAME", in a process of its own: the
// library stays loaded in the process that created it, and the plug-in
// folder is to be removed afterwards. Its exit code.
int CreateElsewhere(const std::wstring& self, const wchar_t* name) {
  return tb::test::RunProgram(U16(L"\"" + self + L"\" --create " + name), kRegistrationWaitMs);
}

void CheckInstall(CheckLog& log, const std::wstring& self, const std::wstring& program,
                  const std::wstring& dist, const std::wstring& plugins, const std::wstring& forms,
                  bool formsOurs) {
  Setup setup(program, dist);
  log.Ok(setup.Started(), "TunebadgeSetup.exe starts");
  Equal(log, setup.Answer(L"Plugin Installer").value_or(L"no box"),
        std::wstring(L"Please make sure msn is closed"), "the first box");
  log.Ok(setup.Window() != nullptr, "the window \"Tunebadge Setup\" opens after it");
  setup.Choose(controls::kMusicMatch);
  setup.Click(controls::kInstall);
  Equal(log, setup.Answer(L"Succes!").value_or(L"no box"), std::wstring(L"Installation completed"),
        "with data.cab, the success box comes first");
  Equal(log, setup.Answer(L"Info").value_or(L"no box"),
        L"Make sure that Tools-->options-->privacy and then the option:\r\nOnly people on my "
        L"allow list can see my status and send me messages is disabeld (else it won't work "
        L"properly)",
        "the privacy box");
  Equal(log, setup.Answer(L"Info").value_or(L"no box"),
        std::wstring(L"Please restart msn messenger"), "the restart box");
  log.Ok(setup.Ended(kBoxWaitMs), "the install ends the installer");

  log.Equal(Bytes(plugins + L"\\Tunebadge.dll"), Bytes(dist + L"\\Tunebadge.dll"),
            "Tunebadge.dll in the plug-in folder");
  log.Equal(Bytes(plugins + L"\\blogging.dll"), Bytes(dist + L"\\data.cab"),
            "data.cab copied as blogging.dll");
  if (formsOurs) {
    log.Equal(Bytes(forms), Bytes(dist + L"\\data0.cab"), "data0.cab copied as FM20.DLL");
  } else {
    log.Ok(Bytes(forms) != "MZ data0", "an FM20.DLL of the system stays as it was");
  }
  Equal(log, ReadString(HKEY_LOCAL_MACHINE, kRegisteredPlugins, L"Tunebadge").value_or(L"absent"),
        std::wstring(L"Tunebadge.Nick"), "the host's list");
  log.Equal(ReadDword(HKEY_LOCAL_MACHINE, kUiPluginKey, L"Capabilities").value_or(99),
            static_cast<DWORD>(1), "Capabilities");
  Equal(log, ReadString(HKEY_LOCAL_MACHINE, kUiPluginKey, L"FriendlyName").value_or(L"absent"),
        std::wstring(L"Tunebadge now playing"), "FriendlyName");
  Equal(log, ReadString(HKEY_CURRENT_USER, kSettingsKey, L"Player").value_or(L"absent"),
        std::wstring(L"MusicMatch"), "Player");
  log.Ok(!ReadString(HKEY_CURRENT_USER, kSettingsKey, L"CurrentTag"), "settings reset");

  log.Equal(U16(WaitForServer(L"Tunebadge.Nick", plugins + L"\\Tunebadge.dll")),
            U16(plugins + L"\\Tunebadge.dll"),
            "Tunebadge.Nick is registered from the plug-in folder");
  log.Equal(CreateElsewhere(self, L"Tunebadge.Nick"), 0, "Tunebadge.Nick is created by its ProgID");
  log.Equal(U16(WaitForServer(kPublisherClass, plugins + L"\\blogging.dll")),
            U16(plugins + L"\\blogging.dll"),
            "the publishing plug-in's class is registered from blogging.dll");
  log.Equal(CreateElsewhere(self, kPublisherClass), 0,
            "the publishing plug-in is created by its class, as Windows Media Player does");
}

void CheckUninstall(CheckLog& log, const std::wstring& program, const std::wstring& dist,
                    const std::wstring& plugins) {
  Setup setup(program, dist);
  setup.Answer(L"Plugin Installer");
  setup.Click(controls::kUninstall);
  Equal(log, setup.Answer(L"Info").value_or(L"no box"), std::wstring(L"Uninstall Succesvol"),
        "the uninstall box");
  log.Ok(!setup.Ended(500), "the window stays open after an uninstall");
  log.Ok(!ReadString(HKEY_LOCAL_MACHINE, kRegisteredPlugins, L"Tunebadge"),
         "Tunebadge is gone from the host's list");
  log.Ok(!ReadDword(HKEY_LOCAL_MACHINE, kUiPluginKey, L"Capabilities"),
         "the UI plug-in key is gone");
  log.Ok(Exists(plugins + L"\\Tunebadge.dll"), "Tunebadge.dll stays");
  Equal(log, ReadString(HKEY_CURRENT_USER, kSettingsKey, L"Player").value_or(L"absent"),
        std::wstring(L"MusicMatch"), "the settings stay");

  // Once more: what is already gone is no failure.
  setup.Click(controls::kUninstall);
  Equal(log, setup.Answer(L"Info").value_or(L"no box"), std::wstring(L"Uninstall Succesvol"),
        "a second uninstall still succeeds");
  setup.Click(controls::kCancel);
  log.Ok(setup.Ended(kBoxWaitMs), "Cancel ends the installer");
}

void CheckMissingPluginDir(CheckLog& log, const std::wstring& program, const std::wstring& dist) {
  Setup setup(program, dist);
  setup.Answer(L"Plugin Installer");
  setup.Click(controls::kInstall);
  const auto text = setup.Answer(L"Plugin Installer").value_or(L"no box");
  log.Ok(text.find(L"\"PluginDir\"") != std::wstring::npos,
         "without a plug-in folder: a message naming PluginDir");
  log.Ok(!setup.Ended(500), "the window stays open");
  log.Ok(!ReadString(HKEY_LOCAL_MACHINE, kRegisteredPlugins, L"Tunebadge"), "nothing listed");
  setup.Click(controls::kCancel);
  log.Ok(setup.Ended(kBoxWaitMs), "Cancel ends the installer");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && lstrcmpW(argv[1], L"--create") == 0) {
    CoInitialize(nullptr);
    const HRESULT created = Create(argv[2]);
    CoUninitialize();
    // Tunebadge.dll's timer keeps it loaded: leave without unloading it.
    ExitProcess(static_cast<UINT>(created));
  }
  if (argc != 4) {
    std::fprintf(stderr,
                 "usage: installer_checks TunebadgeSetup.exe Tunebadge.dll "
                 "TunebadgePublisher.dll\n");
    return 2;
  }
  CoInitialize(nullptr);
  CheckLog log;

  // A distribution folder and a plug-in folder of our own.
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring root =
      std::wstring(temp) + L"tunebadge-setup-" + std::to_wstring(GetCurrentProcessId());
  const std::wstring dist = root + L"\\dist";
  const std::wstring plugins = root + L"\\plugins";
  CreateDirectoryW(root.c_str(), nullptr);
  CreateDirectoryW(dist.c_str(), nullptr);
  CreateDirectoryW(plugins.c_str(), nullptr);
  const std::wstring program = dist + L"\\TunebadgeSetup.exe";
  CopyFileW(argv[1], program.c_str(), FALSE);
  CopyFileW(argv[2], (dist + L"\\Tunebadge.dll").c_str(), FALSE);
  CopyFileW(argv[3], (dist + L"\\data.cab").c_str(), FALSE);
  Write(plugins + L"\\Tunebadge.dll", std::string(200000, 'x'));  // an older, longer one

  // The system folder is the prefix's own: a Forms library is put there only
  // when there is none, and removed again.
  wchar_t windows[MAX_PATH] = {};
  GetEnvironmentVariableW(L"WINDIR", windows, MAX_PATH);
  const std::wstring forms = std::wstring(windows) + L"\\system32\\FM20.DLL";
  const bool formsOurs = !Exists(forms);
  Write(dist + L"\\data0.cab", "MZ data0");

  const auto oldPluginDir = ReadString(HKEY_LOCAL_MACHINE, kMsgPlusKey, L"PluginDir");
  const bool hadHost = KeyExists(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Pelorin");
  const bool hadUiPlugins =
      KeyExists(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Microsoft\\MediaPlayer\\UIPlugins");
  DeleteValue(HKEY_LOCAL_MACHINE, kMsgPlusKey, L"PluginDir");
  CheckMissingPluginDir(log, program, dist);
  WriteString(HKEY_LOCAL_MACHINE, kMsgPlusKey, L"PluginDir", plugins);

  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  CheckInstall(log, self, program, dist, plugins, forms, formsOurs);
  CheckUninstall(log, program, dist, plugins);

  // Put back what the checks changed.
  tb::test::RunRegsvr32(u"/u /s", U16(plugins + L"\\Tunebadge.dll"));
  tb::test::RunRegsvr32(u"/u /s", U16(plugins + L"\\blogging.dll"));
  if (formsOurs) {
    DeleteFileW(forms.c_str());
  }
  if (oldPluginDir) {
    WriteString(HKEY_LOCAL_MACHINE, kMsgPlusKey, L"PluginDir", *oldPluginDir);
  } else {
    DeleteValue(HKEY_LOCAL_MACHINE, kMsgPlusKey, L"PluginDir");
  }
  RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
  // Keys made on the way, when there were none; a key with anything left in
  // it is not deleted.
  if (!hadHost) {
    for (const wchar_t* key : {kRegisteredPlugins, kMsgPlusKey, L"SOFTWARE\\Pelorin"}) {
      RegDeleteKeyW(HKEY_LOCAL_MACHINE, key);
    }
  }
  if (!hadUiPlugins) {
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\MediaPlayer\\UIPlugins");
  }
  for (const wchar_t* file : {L"\\Tunebadge.dll", L"\\blogging.dll"}) {
    DeleteFileW((plugins + file).c_str());
  }
  for (const wchar_t* file :
       {L"\\TunebadgeSetup.exe", L"\\Tunebadge.dll", L"\\data.cab", L"\\data0.cab"}) {
    DeleteFileW((dist + file).c_str());
  }
  RemoveDirectoryW(plugins.c_str());
  RemoveDirectoryW(dist.c_str());
  RemoveDirectoryW(root.c_str());
  log.Ok(!formsOurs || !Exists(forms), "no FM20.DLL of ours is left behind");
  log.Ok(!Exists(root), "the throw-away folders are gone");
  log.Ok(hadHost || !KeyExists(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Pelorin"),
         "no host key of ours is left behind");
  log.Ok(!Server(kPublisherClass), "the publishing plug-in's class is unregistered again");

  CoUninitialize();
  std::printf("installer_checks: %d checks, %zu failed\n%s", log.Checks(), log.Failures().size(),
              log.Report().c_str());
  return log.Failures().empty() ? 0 : 1;
}
