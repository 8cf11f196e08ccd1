#include "platform/win32/files.h"

#include "platform/win32/wide.h"
#include "platform/win32/win32_api.h"

namespace tb::win32 {
namespace {

HANDLE Handle(platform::FileHandle file) { return reinterpret_cast<HANDLE>(file); }

DWORD* Dword(std::uint32_t* value) {
  static_assert(sizeof(DWORD) == sizeof(std::uint32_t));
  return reinterpret_cast<DWORD*>(value);
}

}  // namespace

platform::FileHandle Win32Files::CreateFile(const std::u16string& path, std::uint32_t access,
                                            std::uint32_t shareMode, std::uint32_t disposition) {
  return reinterpret_cast<platform::FileHandle>(CreateFileW(
      Wide(path), access, shareMode, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool Win32Files::ReadFile(platform::FileHandle file, std::uint8_t* buffer, std::uint32_t size,
                          std::uint32_t* read) {
  return ::ReadFile(Handle(file), buffer, size, Dword(read), nullptr) != FALSE;
}

bool Win32Files::WriteFile(platform::FileHandle file, const std::uint8_t* data, std::uint32_t size,
                           std::uint32_t* written) {
  return ::WriteFile(Handle(file), data, size, Dword(written), nullptr) != FALSE;
}

std::uint32_t Win32Files::GetFileSize(platform::FileHandle file) {
  return ::GetFileSize(Handle(file), nullptr);
}

bool Win32Files::CloseHandle(platform::FileHandle file) {
  return ::CloseHandle(Handle(file)) != FALSE;
}

bool Win32Files::DeleteFile(const std::u16string& path) { return DeleteFileW(Wide(path)) != FALSE; }

std::uint32_t Win32Files::GetFileAttributes(const std::u16string& path) {
  return GetFileAttributesW(Wide(path));
}

}  // namespace tb::win32
