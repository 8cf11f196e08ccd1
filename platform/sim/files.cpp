#include "platform/sim/files.h"

#include <algorithm>

namespace tb::sim {

using platform::FileHandle;
using platform::kInvalidFile;

std::u16string SimFiles::Key(const std::u16string& path) {
  std::u16string key = path;
  std::replace(key.begin(), key.end(), u'/', u'\\');
  // Windows takes a run of separators inside a path as one (C:\Plus\\x
  // names C:\Plus\x); a UNC path keeps its leading pair.
  const auto from = key.begin() + (key.rfind(u"\\\\", 0) == 0 ? 2 : 0);
  key.erase(
      std::unique(from, key.end(), [](char16_t a, char16_t b) { return a == u'\\' && b == u'\\'; }),
      key.end());
  std::transform(key.begin(), key.end(), key.begin(), [](char16_t c) {
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
  });
  return key;
}

FileHandle SimFiles::CreateFile(const std::u16string& path, std::uint32_t access,
                                std::uint32_t /*shareMode*/, std::uint32_t disposition) {
  if (faults_.Enter("CreateFileW") || path.empty()) {
    return kInvalidFile;
  }
  const std::u16string key = Key(path);
  const bool exists = files_.count(key) != 0;
  if (disposition == platform::kOpenExisting && !exists) {
    return kInvalidFile;
  }
  if (disposition == platform::kCreateAlways) {
    files_[key].clear();
  }
  const FileHandle handle = nextHandle_;
  nextHandle_ += 4;
  handles_.emplace(handle, Open{key, (access & platform::kGenericWrite) != 0, 0});
  return handle;
}

bool SimFiles::ReadFile(FileHandle file, std::uint8_t* buffer, std::uint32_t size,
                        std::uint32_t* read) {
  *read = 0;
  const auto open = handles_.find(file);
  if (faults_.Enter("ReadFile") || open == handles_.end()) {
    return false;
  }
  const auto& bytes = files_[open->second.key];
  const std::size_t count =
      std::min<std::size_t>(size, bytes.size() - std::min(bytes.size(), open->second.position));
  std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(open->second.position), count, buffer);
  open->second.position += count;
  *read = static_cast<std::uint32_t>(count);
  return true;
}

bool SimFiles::WriteFile(FileHandle file, const std::uint8_t* data, std::uint32_t size,
                         std::uint32_t* written) {
  *written = 0;
  const auto open = handles_.find(file);
  if (faults_.Enter("WriteFile") || open == handles_.end() || !open->second.write) {
    return false;
  }
  auto& bytes = files_[open->second.key];
  const std::size_t end = open->second.position + size;
  if (bytes.size() < end) {
    bytes.resize(end);
  }
  std::copy_n(data, size, bytes.begin() + static_cast<std::ptrdiff_t>(open->second.position));
  open->second.position = end;
  *written = size;
  return true;
}

std::uint32_t SimFiles::GetFileSize(FileHandle file) {
  const auto open = handles_.find(file);
  if (faults_.Enter("GetFileSize") || open == handles_.end()) {
    return 0xFFFFFFFFU;  // INVALID_FILE_SIZE
  }
  return static_cast<std::uint32_t>(files_[open->second.key].size());
}

bool SimFiles::CloseHandle(FileHandle file) {
  // A failed close still gives the handle back.
  const bool known = handles_.erase(file) != 0;
  return !faults_.Enter("CloseHandle") && known;
}

bool SimFiles::DeleteFile(const std::u16string& path) {
  if (faults_.Enter("DeleteFileW")) {
    return false;
  }
  return files_.erase(Key(path)) != 0;
}

std::uint32_t SimFiles::GetFileAttributes(const std::u16string& path) {
  if (faults_.Enter("GetFileAttributesW")) {
    return platform::kInvalidFileAttributes;
  }
  return files_.count(Key(path)) != 0 ? 0x80U /* FILE_ATTRIBUTE_NORMAL */
                                      : platform::kInvalidFileAttributes;
}

void SimFiles::Put(const std::u16string& path, const std::vector<std::uint8_t>& bytes) {
  files_[Key(path)] = bytes;
}

std::optional<std::vector<std::uint8_t>> SimFiles::Get(const std::u16string& path) const {
  const auto found = files_.find(Key(path));
  if (found == files_.end()) {
    return std::nullopt;
  }
  return found->second;
}

}  // namespace tb::sim
