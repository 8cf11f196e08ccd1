// The simulated desktop's files: an in-memory file system with paths that
// compare without regard to case, and an account of open file handles.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/sim/faults.h"

namespace tb::sim {

class SimFiles final : public platform::Files {
 public:
  explicit SimFiles(Faults& faults) : faults_(faults) {}

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

  // The outside world's hand.
  void Put(const std::u16string& path, const std::vector<std::uint8_t>& bytes);
  [[nodiscard]] std::optional<std::vector<std::uint8_t>> Get(const std::u16string& path) const;
  [[nodiscard]] std::size_t OpenHandles() const { return handles_.size(); }

 private:
  struct Open {
    std::u16string key;
    bool write = false;
    std::size_t position = 0;
  };
  static std::u16string Key(const std::u16string& path);

  Faults& faults_;
  std::map<std::u16string, std::vector<std::uint8_t>> files_;
  std::map<platform::FileHandle, Open> handles_;
  platform::FileHandle nextHandle_ = 0x200;
};

}  // namespace tb::sim
