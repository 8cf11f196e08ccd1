#include "tests/conformance/registry_checks.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/mod_reg.h"
#include "common/settings.h"
#include "platform/registry_data.h"

namespace tb::test {

using platform::kErrorFileNotFound;
using platform::kErrorMoreData;
using platform::kErrorSuccess;
using platform::kHkeyCurrentUser;
using platform::RegKey;
using platform::Status;

namespace {

constexpr Status kErrorKeyDeleted = platform::kErrorKeyDeleted;

void SetBytes(platform::Registry& registry, RegKey key, const std::u16string& name,
              std::uint32_t type, const std::vector<std::uint8_t>& bytes) {
  registry.SetValue(key, name, type, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

void RemoveScratch(platform::Registry& registry, const std::u16string& scratch) {
  DeleteRegistryKeys(registry, kHkeyCurrentUser,
                     {scratch + u"\\A\\B", scratch + u"\\A", scratch + u"\\C", scratch});
}

void CheckStringValues(platform::Registry& registry, RegKey key, CheckLog& log) {
  SetBytes(registry, key, u"Three", platform::kRegSz, platform::StringData(u"abc"));
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  log.Equal(registry.QueryValue(key, u"Three", &type, nullptr, &size), kErrorSuccess,
            "size query of a REG_SZ succeeds");
  log.Equal(type, std::uint32_t{platform::kRegSz}, "size query gives the type");
  log.Equal(size, std::uint32_t{8}, "a REG_SZ of three letters is 8 bytes with its NUL");

  std::array<std::uint8_t, 4> small{};
  size = static_cast<std::uint32_t>(small.size());
  log.Equal(registry.QueryValue(key, u"Three", &type, small.data(), &size), kErrorMoreData,
            "a buffer too small answers ERROR_MORE_DATA");
  log.Equal(size, std::uint32_t{8}, "ERROR_MORE_DATA gives the size needed");

  const std::u16string greek = u"\u03a9mega";
  SetBytes(registry, key, u"Greek", platform::kRegSz, platform::StringData(greek));
  std::array<std::uint8_t, 32> wide{};
  size = static_cast<std::uint32_t>(wide.size());
  registry.QueryValue(key, u"Greek", &type, wide.data(), &size);
  log.Equal(platform::TextOfStringData(wide.data(), size), greek,
            "the UTF-16 query keeps every character");

  // Data stored without a terminator comes back as stored. (Windows adds the
  // terminator itself when the unit just past the data is a NUL, so the
  // data given here is followed by another letter.)
  const auto abcd = platform::StringData(u"abcd");
  registry.SetValue(key, u"Bare", platform::kRegSz, abcd.data(), 6);
  size = 0;
  registry.QueryValue(key, u"Bare", &type, nullptr, &size);
  log.Equal(size, std::uint32_t{6}, "an unterminated REG_SZ keeps its stored size");
}

}  // namespace

void CheckRegistryCalls(platform::Registry& registry, const std::u16string& scratch,
                        CheckLog& log) {
  RemoveScratch(registry, scratch);

  RegKey missing = 1;
  log.Equal(registry.OpenKey(kHkeyCurrentUser, scratch, platform::kKeyRead, &missing),
            kErrorFileNotFound, "opening a missing key answers ERROR_FILE_NOT_FOUND");
  log.Equal(missing, RegKey{0}, "a failed open leaves no handle");

  RegKey deep = 0;
  log.Equal(registry.CreateKey(kHkeyCurrentUser, scratch + u"\\A\\B", &deep), kErrorSuccess,
            "creating a key creates the whole path");
  RegKey middle = 0;
  log.Equal(registry.OpenKey(kHkeyCurrentUser, scratch + u"\\a", platform::kKeyRead, &middle),
            kErrorSuccess, "the keys on the way exist, found in any case");
  registry.CloseKey(middle);

  CheckStringValues(registry, deep, log);

  SetBytes(registry, deep, u"Number", platform::kRegDword, platform::DwordData(0x01020304U));
  std::array<std::uint8_t, 4> dword{};
  std::uint32_t type = 0;
  auto size = static_cast<std::uint32_t>(dword.size());
  log.Equal(registry.QueryValue(deep, u"Number", &type, dword.data(), &size), kErrorSuccess,
            "a REG_DWORD reads into four bytes");
  log.Equal(platform::NumberOfDwordData(dword.data()), std::uint32_t{0x01020304U},
            "REG_DWORD data is little-endian");
  log.Equal(registry.QueryValue(deep, u"Nothing", &type, nullptr, &size), kErrorFileNotFound,
            "a missing value answers ERROR_FILE_NOT_FOUND");

  log.Ok(registry.DeleteKey(kHkeyCurrentUser, scratch + u"\\A") != kErrorSuccess,
         "a key with subkeys is not deleted");
  log.Equal(registry.DeleteKey(kHkeyCurrentUser, scratch + u"\\A\\B"), kErrorSuccess,
            "a key with values but no subkeys is deleted");
  log.Equal(registry.QueryValue(deep, u"Number", &type, nullptr, &size), kErrorKeyDeleted,
            "a handle to a deleted key answers ERROR_KEY_DELETED");
  log.Equal(registry.CloseKey(deep), kErrorSuccess, "a handle to a deleted key still closes");
  log.Equal(registry.DeleteKey(kHkeyCurrentUser, scratch + u"\\A\\B"), kErrorFileNotFound,
            "deleting a missing key answers ERROR_FILE_NOT_FOUND");

  RegKey doubled = 0;
  const Status doubledStatus = registry.CreateKey(kHkeyCurrentUser, scratch + u"\\\\C", &doubled);
  log.Equal(doubledStatus, kErrorSuccess, "a doubled backslash in a path is accepted");
  registry.CloseKey(doubled);
  RegKey single = 0;
  log.Equal(registry.OpenKey(kHkeyCurrentUser, scratch + u"\\C", platform::kKeyRead, &single),
            kErrorSuccess, "a doubled backslash names the same key as a single one");
  registry.CloseKey(single);

  RemoveScratch(registry, scratch);
}

void CheckRegistryRoutines(platform::Registry& registry, const std::u16string& scratch,
                           CheckLog& log) {
  RemoveScratch(registry, scratch);
  const std::u16string path = scratch + u"\\A\\B";

  log.Equal(ReadRegistryString(registry, kHkeyCurrentUser, path, u"Title"), std::u16string(),
            "ReadRegistryString of a missing key is empty");
  log.Equal(ReadRegistryDword(registry, kHkeyCurrentUser, path, u"AutoSend"), 0,
            "ReadRegistryDword of a missing key is 0");

  WriteRegistryString(registry, kHkeyCurrentUser, path, u"Title", u"abc");
  log.Equal(ReadRegistryString(registry, kHkeyCurrentUser, path, u"Title"), std::u16string(u"abc"),
            "WriteRegistryString creates the path; the text reads back without its NUL");
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  RegKey key = 0;
  registry.OpenKey(kHkeyCurrentUser, path, platform::kKeyRead, &key);
  registry.QueryValue(key, u"Title", &type, nullptr, &size);
  registry.CloseKey(key);
  log.Equal(size, std::uint32_t{8}, "WriteRegistryString stores the terminating NUL");

  const std::u16string world = u"\u65e5\u672c \u03a9 \U0001F3B5 caf\u00e9";
  WriteRegistryString(registry, kHkeyCurrentUser, path, u"World", world);
  log.Equal(ReadRegistryString(registry, kHkeyCurrentUser, path, u"World"), world,
            "text outside the ANSI code page reads back whole");

  registry.CreateKey(kHkeyCurrentUser, path, &key);
  const auto number = platform::DwordData(1);
  registry.SetValue(key, u"AutoSend", platform::kRegDword, number.data(), 4);
  const auto expand = platform::StringData(u"%WINDIR%");
  registry.SetValue(key, u"Expand", platform::kRegExpandSz, expand.data(),
                    static_cast<std::uint32_t>(expand.size()));
  registry.CloseKey(key);
  log.Equal(ReadRegistryDword(registry, kHkeyCurrentUser, path, u"AutoSend"), 1,
            "ReadRegistryDword reads a REG_DWORD");
  log.Equal(ReadRegistryString(registry, kHkeyCurrentUser, path, u"AutoSend"), std::u16string(),
            "ReadRegistryString of a REG_DWORD is empty");
  log.Equal(ReadRegistryDword(registry, kHkeyCurrentUser, path, u"Title"), 0,
            "ReadRegistryDword of a REG_SZ is 0");
  log.Equal(ReadRegistryString(registry, kHkeyCurrentUser, path, u"Expand"), std::u16string(),
            "ReadRegistryString of a REG_EXPAND_SZ is empty");

  RemoveScratch(registry, scratch);
}

void CheckSettingsStore(platform::Registry& registry, CheckLog& log) {
  registry.DeleteKey(kHkeyCurrentUser, kSettingsKeyPath);
  log.Equal(ReadSetting(registry, kOnOff), std::u16string(), "a missing store reads as empty");

  WriteDefaultSettings(registry);
  log.Equal(ReadSetting(registry, kOnOff), std::u16string(kDefaultOnOff), "onOff default");
  log.Equal(ReadSetting(registry, kCurrentTag), std::u16string(kDefaultCurrentTag),
            "CurrentTag default");
  log.Equal(ReadSetting(registry, kCurrentTagMMJ), std::u16string(kDefaultCurrentTagMMJ),
            "CurrentTagMMJ default");
  log.Equal(ReadSetting(registry, kCurrentTagWMP), std::u16string(kDefaultCurrentTagWMP),
            "CurrentTagWMP default");

  RegKey key = 0;
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  registry.OpenKey(kHkeyCurrentUser,
                   u"Software\\VB and VBA Program Settings\\Corvan's tbg Plugin\\Data",
                   platform::kKeyRead, &key);
  log.Equal(registry.QueryValue(key, u"CurrentTagMMJ", &type, nullptr, &size), kErrorSuccess,
            "the settings live under VB and VBA Program Settings");
  log.Equal(type, std::uint32_t{platform::kRegSz}, "a setting is a REG_SZ");
  log.Equal(registry.QueryValue(key, u"Player", &type, nullptr, &size), kErrorFileNotFound,
            "Player gets no default");
  log.Equal(registry.QueryValue(key, u"Status", &type, nullptr, &size), kErrorFileNotFound,
            "Status gets no default");
  registry.CloseKey(key);

  WriteSetting(registry, kCurrentTagMMJ, u"");
  WriteSetting(registry, kOnOff, u"0");
  WriteDefaultSettings(registry);
  log.Equal(ReadSetting(registry, kCurrentTagMMJ), std::u16string(kDefaultCurrentTagMMJ),
            "a template that exists but is empty gets its default back");
  log.Equal(ReadSetting(registry, kOnOff), std::u16string(u"0"),
            "a feature switched off stays off");

  registry.DeleteKey(kHkeyCurrentUser, kSettingsKeyPath);
}

}  // namespace tb::test
