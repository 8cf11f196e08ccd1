// Files (kernel32), with handles that the caller must close.
#pragma once

#include <cstdint>
#include <string>

namespace tb::platform {

using FileHandle = std::uintptr_t;
inline constexpr FileHandle kInvalidFile = ~FileHandle{0};  // INVALID_HANDLE_VALUE

inline constexpr std::uint32_t kGenericRead = 0x80000000U;
inline constexpr std::uint32_t kGenericWrite = 0x40000000U;
inline constexpr std::uint32_t kFileShareRead = 0x1;
inline constexpr std::uint32_t kCreateAlways = 2;
inline constexpr std::uint32_t kOpenExisting = 3;
inline constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFFU;

class Files {
 public:
  virtual ~Files() = default;
  // CreateFileW with no security attributes, normal attributes, no template.
  virtual FileHandle CreateFile(const std::u16string& path, std::uint32_t access,
                                std::uint32_t shareMode, std::uint32_t disposition) = 0;
  // ReadFile, synchronous
  virtual bool ReadFile(FileHandle file, std::uint8_t* buffer, std::uint32_t size,
                        std::uint32_t* read) = 0;
  // WriteFile, synchronous
  virtual bool WriteFile(FileHandle file, const std::uint8_t* data, std::uint32_t size,
                         std::uint32_t* written) = 0;
  // GetFileSize (low 32 bits; the files handled here are small)
  virtual std::uint32_t GetFileSize(FileHandle file) = 0;
  // CloseHandle
  virtual bool CloseHandle(FileHandle file) = 0;
  // DeleteFileW
  virtual bool DeleteFile(const std::u16string& path) = 0;
  // GetFileAttributesW
  virtual std::uint32_t GetFileAttributes(const std::u16string& path) = 0;
};

}  // namespace tb::platform
