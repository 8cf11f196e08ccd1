#include "platform/win32/registry.h"

#include "platform/win32/win32_api.h"

#include "platform/win32/wide.h"

namespace tb::win32 {
namespace {

HKEY Key(platform::RegKey key) { return reinterpret_cast<HKEY>(key); }

DWORD* Dword(std::uint32_t* value) {
  static_assert(sizeof(DWORD) == sizeof(std::uint32_t));
  return reinterpret_cast<DWORD*>(value);
}

}  // namespace

platform::Status Win32Registry::OpenKey(platform::RegKey root, const std::u16string& path,
                                        std::uint32_t access, platform::RegKey* key) {
  HKEY opened = nullptr;
  const LSTATUS status = RegOpenKeyExW(Key(root), Wide(path), 0, access, &opened);
  *key = reinterpret_cast<platform::RegKey>(opened);
  return status;
}

platform::Status Win32Registry::CreateKey(platform::RegKey root, const std::u16string& path,
                                          platform::RegKey* key) {
  HKEY created = nullptr;
  const LSTATUS status = RegCreateKeyExW(Key(root), Wide(path), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                         KEY_ALL_ACCESS, nullptr, &created, nullptr);
  *key = reinterpret_cast<platform::RegKey>(created);
  return status;
}

platform::Status Win32Registry::QueryValue(platform::RegKey key, const std::u16string& name,
                                           std::uint32_t* type, std::uint8_t* data,
                                           std::uint32_t* size) {
  return RegQueryValueExW(Key(key), Wide(name), nullptr, Dword(type), data, Dword(size));
}

platform::Status Win32Registry::SetValue(platform::RegKey key, const std::u16string& name,
                                         std::uint32_t type, const std::uint8_t* data,
                                         std::uint32_t size) {
  return RegSetValueExW(Key(key), Wide(name), 0, type, data, size);
}

platform::Status Win32Registry::DeleteValue(platform::RegKey key, const std::u16string& name) {
  return RegDeleteValueW(Key(key), Wide(name));
}

platform::Status Win32Registry::DeleteKey(platform::RegKey root, const std::u16string& path) {
  return RegDeleteKeyW(Key(root), Wide(path));
}

platform::Status Win32Registry::CloseKey(platform::RegKey key) { return RegCloseKey(Key(key)); }

}  // namespace tb::win32
