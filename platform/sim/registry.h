// The simulated desktop's registry: HKEY_CLASSES_ROOT, HKEY_CURRENT_USER and
// HKEY_LOCAL_MACHINE as trees of keys with typed values, behaving as Windows does where the
// plug-in and the installer rely on it.
//
// Key and value names compare without regard to case. String values are kept
// as the UTF-16 bytes their writer gave, terminator or not. Every handle that
// OpenKey or CreateKey hands out is counted until CloseKey, so a test can
// assert that nothing was left open. Every seam call can be made to fail
// through Faults.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/registry.h"
#include "platform/sim/faults.h"

namespace tb::sim {

struct RegValue {
  std::uint32_t type = platform::kRegNone;
  std::vector<std::uint8_t> data;
};

class SimRegistry final : public platform::Registry {
 public:
  explicit SimRegistry(Faults& faults);
  ~SimRegistry() override = default;
  SimRegistry(const SimRegistry&) = delete;
  SimRegistry& operator=(const SimRegistry&) = delete;
  SimRegistry(SimRegistry&&) = delete;
  SimRegistry& operator=(SimRegistry&&) = delete;

  platform::Status OpenKey(platform::RegKey root, const std::u16string& path, std::uint32_t access,
                           platform::RegKey* key) override;
  platform::Status CreateKey(platform::RegKey root, const std::u16string& path,
                             platform::RegKey* key) override;
  platform::Status QueryValue(platform::RegKey key, const std::u16string& name, std::uint32_t* type,
                              std::uint8_t* data, std::uint32_t* size) override;
  platform::Status SetValue(platform::RegKey key, const std::u16string& name, std::uint32_t type,
                            const std::uint8_t* data, std::uint32_t size) override;
  platform::Status DeleteValue(platform::RegKey key, const std::u16string& name) override;
  platform::Status DeleteKey(platform::RegKey root, const std::u16string& path) override;
  platform::Status CloseKey(platform::RegKey key) override;

  // The outside world's hand on the registry: no fault injection, no handle.
  void Put(platform::RegKey root, const std::u16string& path, const std::u16string& name,
           RegValue value);
  void PutString(platform::RegKey root, const std::u16string& path, const std::u16string& name,
                 const std::u16string& text);
  void PutDword(platform::RegKey root, const std::u16string& path, const std::u16string& name,
                std::uint32_t number);
  void Remove(platform::RegKey root, const std::u16string& path, const std::u16string& name);
  [[nodiscard]] std::optional<RegValue> Get(platform::RegKey root, const std::u16string& path,
                                            const std::u16string& name) const;
  [[nodiscard]] bool KeyExists(platform::RegKey root, const std::u16string& path) const;
  // A REG_SZ's text up to its first NUL; nothing for a missing or other value.
  [[nodiscard]] std::optional<std::u16string> GetString(platform::RegKey root,
                                                        const std::u16string& path,
                                                        const std::u16string& name) const;

  // Keys refuse writes (open for writing, create, set, delete) under this
  // root, as HKEY_LOCAL_MACHINE does for an ordinary user.
  void SetReadOnly(platform::RegKey root, bool readOnly);

  [[nodiscard]] std::size_t OpenHandles() const { return handles_.size(); }

 private:
  struct Key;
  struct NoCaseLess {
    bool operator()(const std::u16string& a, const std::u16string& b) const;
  };
  struct Key {
    std::map<std::u16string, RegValue, NoCaseLess> values;
    std::map<std::u16string, std::shared_ptr<Key>, NoCaseLess> subkeys;
    bool deleted = false;
    bool readOnly = false;
  };
  struct Handle {
    std::shared_ptr<Key> key;
    bool writable = false;
  };

  [[nodiscard]] std::shared_ptr<Key> RootKey(platform::RegKey root) const;
  // The key for `handle`, a predefined root or an open handle; null if none.
  [[nodiscard]] const Handle* Resolve(platform::RegKey handle) const;
  // How each call on a key begins: the fault plan hears `call`, then `handle` must name a key,
  // one not deleted unless kAny, open for writing if kWritable. Else null and the code to answer.
  enum class Need { kAny, kLive, kWritable };
  std::pair<const Handle*, platform::Status> Enter(std::string_view call, platform::RegKey handle,
                                                   Need need);
  [[nodiscard]] static std::shared_ptr<Key> Walk(const std::shared_ptr<Key>& from,
                                                 const std::u16string& path);
  [[nodiscard]] static std::shared_ptr<Key> WalkParts(std::shared_ptr<Key> key,
                                                      std::span<const std::u16string> parts);
  std::shared_ptr<Key> WalkCreating(const std::shared_ptr<Key>& from, const std::u16string& path);
  platform::RegKey NewHandle(std::shared_ptr<Key> key, bool writable);
  platform::Status CopyOut(const std::vector<std::uint8_t>& bytes, std::uint32_t type,
                           std::uint32_t* typeOut, std::uint8_t* data, std::uint32_t* size) const;

  Faults& faults_;
  // HKEY_CLASSES_ROOT, HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE: separate
  // trees here, as nothing relies on how Windows merges the classes.
  std::map<platform::RegKey, Handle> roots_;
  std::map<platform::RegKey, Handle> handles_;
  platform::RegKey nextHandle_ = 0x100;
};

}  // namespace tb::sim
