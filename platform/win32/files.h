// The file seam on real Windows: each member forwards to its kernel32 call.
#pragma once

#include "platform/files.h"

namespace tb::win32 {

class Win32Files final : public platform::Files {
 public:
  platform::FileHandle CreateFile(const std::u16string& path, std::uint32_t access,
                                  std::uint32_t shareMode, std::uint32_t disposition) override;
  bool ReadFile(platform::FileHandle file, std::uint8_t* buffer, std::uint32_t size,
                std::uint32_t* read) override;
  bool WriteFile(platform::FileHandle file, const std::uint8_t* data, std::uint32_t size,
                 std::uint32_t* written) override;
  std::uint32_t GetFileSize(platform::FileHandle file) override;
  bool CloseHandle(platform::FileHandle file) override;
  bool DeleteFile(const std::u16string& path) override;
  std::uint32_t GetFileAttributes(const std::u16string& path) override;
};

}  // namespace tb::win32
