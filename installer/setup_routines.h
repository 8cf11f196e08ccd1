// The installer's own routines: the hit counter, the old library, whole-file
// copies and the registry calls that only the installer makes. It reads and
// writes strings with the plug-in's own routines (common/mod_reg.h),
// whose REG_SZ-only read and first-NUL cut are what the installer needs too.
#pragma once

#include <stdexcept>
#include <string>

#include "platform/files.h"
#include "platform/registry.h"
#include "platform/shell.h"

namespace tb::setup {

// A step of the install that could not be done; it ends the installer with a
// report that names it.
class InstallError : public std::runtime_error {
 public:
  explicit InstallError(std::u16string description);
  [[nodiscard]] const std::u16string& Description() const { return description_; }

 private:
  std::u16string description_;
};

// The hit counter's page on the maker's web site. No host serves it: while
// the host is empty there is no page to open.
inline constexpr char16_t kHitCounterHost[] = u"";
inline constexpr char16_t kHitCounterPath[] = u"/inhits.php";
inline constexpr char16_t kHitCounterQuery[] = u"id=71";

// "http://HOST/inhits.php?id=71", or the empty string for an empty host.
std::u16string HitCounterAddress(const std::u16string& host);

// Asks the shell to open `address` with its window hidden; nothing for an
// empty address. Every failure is ignored.
void OpenHitCounter(platform::Shell& shell, const std::u16string& address);

// Deletes "Tunebadge.dll" in the plug-in folder; every failure is ignored.
void RemoveOldPlugin(platform::Registry& registry, platform::Files& files);

// Makes `destination` hold exactly the bytes of `source`, creating or
// truncating it. Throws InstallError naming the file that cannot be read or
// written; no handle stays open on any path.
void CopyWholeFile(platform::Files& files, const std::u16string& source,
                   const std::u16string& destination);

// The registry calls answer the first failing call's code; the install
// ignores them, the uninstall tells "already gone" from a refusal.
platform::Status CreateRegistryKey(platform::Registry& registry, platform::RegKey root,
                                   const std::u16string& path);
platform::Status WriteRegistryDword(platform::Registry& registry, platform::RegKey root,
                                    const std::u16string& path, const std::u16string& name,
                                    std::uint32_t number);
// The key must have no subkeys.
platform::Status DeleteRegistryKey(platform::Registry& registry, platform::RegKey root,
                                   const std::u16string& path);

// The folder part of a path: everything before its last backslash, or the
// empty string when it has none.
std::u16string FolderOf(const std::u16string& path);

// Whether two folder paths name the same folder: letters in either case,
// with or without a closing backslash.
bool SameFolder(const std::u16string& a, const std::u16string& b);

}  // namespace tb::setup
