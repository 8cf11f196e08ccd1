#include "installer/setup_routines.h"

#include <vector>

#include "common/mod_reg.h"
#include "common/text.h"
#include "installer/setup_paths.h"
#include "platform/registry_data.h"
#include "platform/scoped_key.h"
#include "platform/windowing.h"

namespace tb::setup {
namespace {

// A file handle that closes itself.
class ScopedFile {
 public:
  ScopedFile(platform::Files& files, platform::FileHandle handle)
      : files_(files), handle_(handle) {}
  ~ScopedFile() {
    if (handle_ != platform::kInvalidFile) {
      files_.CloseHandle(handle_);
    }
  }
  ScopedFile(const ScopedFile&) = delete;
  ScopedFile& operator=(const ScopedFile&) = delete;
  ScopedFile(ScopedFile&&) = delete;
  ScopedFile& operator=(ScopedFile&&) = delete;

  [[nodiscard]] platform::FileHandle Get() const { return handle_; }
  [[nodiscard]] bool Valid() const { return handle_ != platform::kInvalidFile; }

 private:
  platform::Files& files_;
  platform::FileHandle handle_;
};

}  // namespace

InstallError::InstallError(std::u16string description)
    : std::runtime_error(Narrow(description)), description_(std::move(description)) {}

std::u16string HitCounterAddress(const std::u16string& host) {
  if (host.empty()) {
    return {};
  }
  return u"http://" + host + kHitCounterPath + u"?" + kHitCounterQuery;
}

void OpenHitCounter(platform::Shell& shell, const std::u16string& address) {
  if (address.empty()) {
    return;
  }
  shell.ShellExecute(0, u"open", address, nullptr, nullptr, platform::kSwHide);
}

void RemoveOldPlugin(platform::Registry& registry, platform::Files& files) {
  const std::u16string folder =
      ReadRegistryString(registry, platform::kHkeyLocalMachine, kMsgPlusKey, kPluginDirValue);
  files.DeleteFile(folder + u"\\" + kPluginFile);
}

void CopyWholeFile(platform::Files& files, const std::u16string& source,
                   const std::u16string& destination) {
  // The source first: a missing source must not cost the destination.
  const ScopedFile from(files, files.CreateFile(source, platform::kGenericRead,
                                                platform::kFileShareRead, platform::kOpenExisting));
  if (!from.Valid()) {
    throw InstallError(u"Cannot open " + source + u" for reading.");
  }
  const std::uint32_t size = files.GetFileSize(from.Get());
  if (size == 0xFFFFFFFFU) {
    throw InstallError(u"Cannot read " + source + u".");
  }
  std::vector<std::uint8_t> bytes(size);
  std::uint32_t read = 0;
  if (!files.ReadFile(from.Get(), bytes.data(), size, &read) || read != size) {
    throw InstallError(u"Cannot read " + source + u".");
  }
  const ScopedFile to(
      files, files.CreateFile(destination, platform::kGenericWrite, 0, platform::kCreateAlways));
  if (!to.Valid()) {
    throw InstallError(u"Cannot open " + destination + u" for writing.");
  }
  std::uint32_t written = 0;
  if (!files.WriteFile(to.Get(), bytes.data(), size, &written) || written != size) {
    throw InstallError(u"Cannot write " + destination + u".");
  }
}

platform::Status CreateRegistryKey(platform::Registry& registry, platform::RegKey root,
                                   const std::u16string& path) {
  platform::ScopedKey key(registry);
  return registry.CreateKey(root, path, key.Receive());
}

platform::Status WriteRegistryDword(platform::Registry& registry, platform::RegKey root,
                                    const std::u16string& path, const std::u16string& name,
                                    std::uint32_t number) {
  return WriteRegistryValue(registry, root, path, name, platform::kRegDword,
                            platform::DwordData(number));
}

platform::Status DeleteRegistryKey(platform::Registry& registry, platform::RegKey root,
                                   const std::u16string& path) {
  return registry.DeleteKey(root, path);
}

bool SameFolder(const std::u16string& a, const std::u16string& b) {
  const auto trimmed = [](std::u16string path) {
    while (!path.empty() && path.back() == u'\\') {
      path.pop_back();
    }
    return path;
  };
  return EqualsIgnoringCase(trimmed(a), trimmed(b));
}

std::u16string FolderOf(const std::u16string& path) {
  const std::size_t slash = path.find_last_of(u'\\');
  return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash);
}

}  // namespace tb::setup
