#include "tests/win32/scenario_host/quick_text_host.h"

#include <oleauto.h>

#include "platform/sim/host_tags.h"
#include "tests/win32/scenario_host/window_threads.h"
#include "tests/win32/support/com_support.h"

namespace tb::test {
namespace {

constexpr WPARAM kVk0 = 0x30;
constexpr LPARAM kContextAltDown = LPARAM{1} << 29U;
constexpr char16_t kNameCommand[] = u"/name ";

// A value of HKEY_CURRENT_USER as the host reads it: type and bytes.
bool ReadValue(const std::u16string& path, const wchar_t* name, DWORD* type,
               std::vector<BYTE>* data) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(path.c_str()), 0, KEY_QUERY_VALUE, &key) !=
      ERROR_SUCCESS) {
    return false;
  }
  DWORD size = 0;
  LSTATUS status = RegQueryValueExW(key, name, nullptr, type, nullptr, &size);
  if (status == ERROR_SUCCESS) {
    data->assign(size, 0);
    status = RegQueryValueExW(key, name, nullptr, type, data->data(), &size);
    data->resize(size);
  }
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

}  // namespace

QuickTextHost::QuickTextHost(MessengerStandInState& messenger, WindowLedger& ledger)
    : messenger_(messenger), ledger_(ledger) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &QuickTextHost::Procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = Wide(kConversationClass);
  atom_ = RegisterClassExW(&windowClass);
}

QuickTextHost::~QuickTextHost() {
  for (const HWND window : windows_) {
    if (IsWindow(window) != FALSE) {
      DestroyWindow(window);
    }
  }
  if (atom_ != 0) {
    UnregisterClassW(Wide(kConversationClass), GetModuleHandleW(nullptr));
  }
}

HWND QuickTextHost::OpenWindow(const std::u16string& title) {
  if (atom_ == 0) {
    return nullptr;
  }
  const HWND window = CreateWindowExW(0, Wide(kConversationClass), Wide(title.c_str()),
                                      WS_OVERLAPPED | WS_CAPTION, CW_USEDEFAULT, CW_USEDEFAULT, 320,
                                      240, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (window == nullptr) {
    return nullptr;
  }
  ShowWindow(window, SW_SHOWNOACTIVATE);
  windows_.push_back(window);
  ledger_.Add(window, kConversationClass, nullptr);
  return window;
}

HWND QuickTextHost::OpenConversation(const std::u16string& contact) {
  const std::u16string title = contact + u" - Conversation";
  const auto existing = ledger_.Newest(kConversationClass, &title);
  if (existing) {
    ShowWindow(existing->window, SW_SHOWNOACTIVATE);
    return existing->window;
  }
  return OpenWindow(title);
}

std::u16string QuickTextHost::QuickTextKey() const {
  return u"Software\\Pelorin\\MsgPlus2\\" + messenger_.signinName +
         u"\\Preferences\\QuickTexts\\QuickText09";
}

LRESULT CALLBACK QuickTextHost::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* host = reinterpret_cast<QuickTextHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  CountAltZero(window, message, wparam, lparam);
  switch (message) {
    case WM_SYSKEYDOWN:
      if (host != nullptr && wparam == kVk0 && (lparam & kContextAltDown) != 0) {
        Sleep(host->delayMs_);
        host->QuickText09();
      }
      return 0;
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
      // The host's accelerators are its own: no menu opens.
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

void QuickTextHost::QuickText09() {
  const std::u16string key = QuickTextKey();
  DWORD type = 0;
  std::vector<BYTE> data;
  if (!ReadValue(key, L"Message", &type, &data) || type != REG_SZ) {
    return;
  }
  std::u16string message;
  for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
    const auto unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8U));
    if (unit == u'\0') {
      break;
    }
    message.push_back(unit);
  }
  const bool send = ReadValue(key, L"AutoSend", &type, &data) && type == REG_DWORD &&
                    data.size() == 4 && data[0] == 1 && data[1] == 0 && data[2] == 0 &&
                    data[3] == 0;
  if (!send) {
    typed_.push_back(message);
    return;
  }
  const std::u16string text = ExpandTags(message);
  sent_.push_back(text);
  const std::u16string command = kNameCommand;
  if (text.rfind(command, 0) == 0 && text.size() > command.size()) {
    messenger_.friendlyName = text.substr(command.size());
  }
}

std::u16string QuickTextHost::ExpandTags(const std::u16string& text) const {
  return sim::ExpandHostTags(text, [this](const std::u16string& tag, std::u16string& result) {
    if (nick_ == nullptr) {
      return false;
    }
    Bstr asked(tag.c_str());
    Bstr answered(u"");
    VARIANT_BOOL answer = VARIANT_FALSE;
    if (FAILED(nick_->ParseTag(asked.Get(), nullptr, answered.Slot(), &answer)) ||
        answer != VARIANT_TRUE) {
      return false;
    }
    result = answered.Text();
    return true;
  });
}

}  // namespace tb::test
