#include "platform/sim/registry.h"

#include "platform/registry_data.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <utility>

namespace tb::sim {

using platform::kErrorAccessDenied;
using platform::kErrorFileNotFound;
using platform::kErrorInvalidHandle;
using platform::kErrorKeyDeleted;
using platform::kErrorMoreData;
using platform::kErrorSuccess;
using platform::RegKey;
using platform::Status;

namespace {

constexpr Status kErrorBadPathname = 161;
// Access bits that ask to change a key: KEY_SET_VALUE, KEY_CREATE_SUB_KEY,
// KEY_CREATE_LINK, DELETE, WRITE_DAC and WRITE_OWNER.
constexpr std::uint32_t kWriteRights = 0x0002 | 0x0004 | 0x0020 | 0x10000 | 0x40000 | 0x80000;

char16_t Fold(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
    return static_cast<char16_t>(c - 0x20);
  }
  return c;
}

// Win32 strings end at their first NUL.
std::u16string CString(const std::u16string& text) { return text.substr(0, text.find(u'\0')); }

// Splits a key path at its backslashes. A path that begins with a backslash
// is refused, as Windows refuses it; empty components in between are skipped.
bool SplitPath(const std::u16string& path, std::vector<std::u16string>* parts) {
  const std::u16string text = CString(path);
  if (!text.empty() && text.front() == u'\\') {
    return false;
  }
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find(u'\\', start), text.size());
    if (end > start) {
      parts->push_back(text.substr(start, end - start));
    }
    start = end + 1;
  }
  return true;
}

}  // namespace

bool SimRegistry::NoCaseLess::operator()(const std::u16string& a, const std::u16string& b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char16_t x, char16_t y) { return Fold(x) < Fold(y); });
}

SimRegistry::SimRegistry(Faults& faults) : faults_(faults) {
  for (const RegKey root :
       {platform::kHkeyClassesRoot, platform::kHkeyCurrentUser, platform::kHkeyLocalMachine}) {
    roots_.emplace(root, Handle{std::make_shared<Key>(), true});
  }
}

std::shared_ptr<SimRegistry::Key> SimRegistry::RootKey(RegKey root) const {
  const auto found = roots_.find(root);
  return found == roots_.end() ? nullptr : found->second.key;
}

const SimRegistry::Handle* SimRegistry::Resolve(RegKey handle) const {
  const auto root = roots_.find(handle);
  if (root != roots_.end()) {
    return &root->second;
  }
  const auto found = handles_.find(handle);
  return found == handles_.end() ? nullptr : &found->second;
}

std::pair<const SimRegistry::Handle*, Status> SimRegistry::Enter(std::string_view call,
                                                                 RegKey handle, Need need) {
  if (faults_.Enter(call)) {
    return {nullptr, kErrorAccessDenied};
  }
  const Handle* found = Resolve(handle);
  if (found == nullptr) {
    return {nullptr, kErrorInvalidHandle};
  }
  if (need != Need::kAny && found->key->deleted) {
    return {nullptr, kErrorKeyDeleted};
  }
  if (need == Need::kWritable && !found->writable) {
    return {nullptr, kErrorAccessDenied};
  }
  return {found, kErrorSuccess};
}

std::shared_ptr<SimRegistry::Key> SimRegistry::Walk(const std::shared_ptr<Key>& from,
                                                    const std::u16string& path) {
  std::vector<std::u16string> parts;
  return SplitPath(path, &parts) ? WalkParts(from, parts) : nullptr;
}

std::shared_ptr<SimRegistry::Key> SimRegistry::WalkParts(std::shared_ptr<Key> key,
                                                         std::span<const std::u16string> parts) {
  for (const auto& part : parts) {
    const auto found = key->subkeys.find(part);
    if (found == key->subkeys.end()) {
      return nullptr;
    }
    key = found->second;
  }
  return key;
}

std::shared_ptr<SimRegistry::Key> SimRegistry::WalkCreating(const std::shared_ptr<Key>& from,
                                                            const std::u16string& path) {
  std::vector<std::u16string> parts;
  if (!SplitPath(path, &parts)) {
    return nullptr;
  }
  std::shared_ptr<Key> key = from;
  for (const auto& part : parts) {
    auto& child = key->subkeys[part];
    if (!child) {
      child = std::make_shared<Key>();
      child->readOnly = key->readOnly;
    }
    key = child;
  }
  return key;
}

RegKey SimRegistry::NewHandle(std::shared_ptr<Key> key, bool writable) {
  const RegKey handle = nextHandle_;
  nextHandle_ += 4;
  handles_.emplace(handle, Handle{std::move(key), writable});
  return handle;
}

Status SimRegistry::OpenKey(RegKey root, const std::u16string& path, std::uint32_t access,
                            RegKey* key) {
  *key = 0;
  const auto [from, status] = Enter("RegOpenKeyExW", root, Need::kLive);
  if (from == nullptr) {
    return status;
  }
  std::vector<std::u16string> parts;
  if (!SplitPath(path, &parts)) {
    return kErrorBadPathname;
  }
  auto target = WalkParts(from->key, parts);
  if (!target) {
    return kErrorFileNotFound;
  }
  const bool wantsWrite = (access & kWriteRights) != 0;
  if (wantsWrite && target->readOnly) {
    return kErrorAccessDenied;
  }
  const bool writable =
      !target->readOnly && (wantsWrite || (access & platform::kMaximumAllowed) != 0);
  *key = NewHandle(std::move(target), writable);
  return kErrorSuccess;
}

Status SimRegistry::CreateKey(RegKey root, const std::u16string& path, RegKey* key) {
  *key = 0;
  const auto [from, status] = Enter("RegCreateKeyExW", root, Need::kLive);
  if (from == nullptr) {
    return status;
  }
  auto existing = Walk(from->key, path);
  if (existing ? existing->readOnly : from->key->readOnly) {
    return kErrorAccessDenied;
  }
  auto target = WalkCreating(from->key, path);
  if (!target) {
    return kErrorBadPathname;
  }
  *key = NewHandle(std::move(target), true);
  return kErrorSuccess;
}

Status SimRegistry::CopyOut(const std::vector<std::uint8_t>& bytes, std::uint32_t type,
                            std::uint32_t* typeOut, std::uint8_t* data, std::uint32_t* size) const {
  if (typeOut != nullptr) {
    *typeOut = type;
  }
  const auto needed = static_cast<std::uint32_t>(bytes.size());
  if (data == nullptr) {
    if (size != nullptr) {
      *size = needed;
    }
    return kErrorSuccess;
  }
  if (size == nullptr) {
    return platform::kErrorInvalidParameter;
  }
  if (*size < needed) {
    *size = needed;
    return kErrorMoreData;
  }
  std::copy(bytes.begin(), bytes.end(), data);
  *size = needed;
  return kErrorSuccess;
}

Status SimRegistry::QueryValue(RegKey key, const std::u16string& name, std::uint32_t* type,
                               std::uint8_t* data, std::uint32_t* size) {
  const auto [handle, status] = Enter("RegQueryValueExW", key, Need::kLive);
  if (handle == nullptr) {
    return status;
  }
  const auto found = handle->key->values.find(CString(name));
  if (found == handle->key->values.end()) {
    return kErrorFileNotFound;
  }
  return CopyOut(found->second.data, found->second.type, type, data, size);
}

Status SimRegistry::SetValue(RegKey key, const std::u16string& name, std::uint32_t type,
                             const std::uint8_t* data, std::uint32_t size) {
  const auto [handle, status] = Enter("RegSetValueExW", key, Need::kWritable);
  if (handle == nullptr) {
    return status;
  }
  RegValue value;
  value.type = type;
  if (data != nullptr) {
    value.data.assign(data, data + size);
  }
  handle->key->values[CString(name)] = std::move(value);
  return kErrorSuccess;
}

Status SimRegistry::DeleteValue(RegKey key, const std::u16string& name) {
  const auto [handle, status] = Enter("RegDeleteValueW", key, Need::kWritable);
  if (handle == nullptr) {
    return status;
  }
  return handle->key->values.erase(CString(name)) == 0 ? kErrorFileNotFound : kErrorSuccess;
}

Status SimRegistry::DeleteKey(RegKey root, const std::u16string& path) {
  const auto [from, status] = Enter("RegDeleteKeyW", root, Need::kAny);
  if (from == nullptr) {
    return status;
  }
  std::vector<std::u16string> parts;
  if (!SplitPath(path, &parts) || parts.empty()) {
    return kErrorAccessDenied;
  }
  const auto parent = WalkParts(from->key, std::span(parts).first(parts.size() - 1));
  if (!parent) {
    return kErrorFileNotFound;
  }
  const auto target = parent->subkeys.find(parts.back());
  if (target == parent->subkeys.end()) {
    return kErrorFileNotFound;
  }
  if (target->second->readOnly || !target->second->subkeys.empty()) {
    return kErrorAccessDenied;
  }
  target->second->deleted = true;
  parent->subkeys.erase(target);
  return kErrorSuccess;
}

Status SimRegistry::CloseKey(RegKey key) {
  if (faults_.Enter("RegCloseKey")) {
    // A failed close still gives the handle back, as Windows does: the
    // caller can do nothing else with it.
    handles_.erase(key);
    return kErrorInvalidHandle;
  }
  if (roots_.count(key) != 0) {
    return kErrorSuccess;
  }
  return handles_.erase(key) == 0 ? kErrorInvalidHandle : kErrorSuccess;
}

void SimRegistry::Put(RegKey root, const std::u16string& path, const std::u16string& name,
                      RegValue value) {
  auto key = WalkCreating(RootKey(root), path);
  if (key) {
    key->values[CString(name)] = std::move(value);
  }
}

void SimRegistry::PutString(RegKey root, const std::u16string& path, const std::u16string& name,
                            const std::u16string& text) {
  Put(root, path, name, RegValue{platform::kRegSz, platform::StringData(text)});
}

void SimRegistry::PutDword(RegKey root, const std::u16string& path, const std::u16string& name,
                           std::uint32_t number) {
  Put(root, path, name, RegValue{platform::kRegDword, platform::DwordData(number)});
}

void SimRegistry::Remove(RegKey root, const std::u16string& path, const std::u16string& name) {
  if (auto key = Walk(RootKey(root), path)) {
    key->values.erase(CString(name));
  }
}

std::optional<RegValue> SimRegistry::Get(RegKey root, const std::u16string& path,
                                         const std::u16string& name) const {
  const auto key = Walk(RootKey(root), path);
  if (!key) {
    return std::nullopt;
  }
  const auto found = key->values.find(CString(name));
  if (found == key->values.end()) {
    return std::nullopt;
  }
  return found->second;
}

bool SimRegistry::KeyExists(RegKey root, const std::u16string& path) const {
  return Walk(RootKey(root), path) != nullptr;
}

std::optional<std::u16string> SimRegistry::GetString(RegKey root, const std::u16string& path,
                                                     const std::u16string& name) const {
  const auto value = Get(root, path, name);
  if (!value || value->type != platform::kRegSz) {
    return std::nullopt;
  }
  return platform::TextOfStringData(value->data.data(), value->data.size());
}

void SimRegistry::SetReadOnly(RegKey root, bool readOnly) {
  std::function<void(Key&)> mark = [&](Key& key) {
    key.readOnly = readOnly;
    for (auto& child : key.subkeys) {
      mark(*child.second);
    }
  };
  mark(*RootKey(root));
  roots_.at(root).writable = !readOnly;
}

}  // namespace tb::sim
