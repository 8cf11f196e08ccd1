#include "plugin/core/registration.h"

#include <array>

#include "common/com_identity.h"
#include "common/mod_reg.h"

namespace tb {
namespace {

const std::u16string kClassKey = std::u16string(u"CLSID\\") + kClsidNick;
const std::u16string kProgIdKey = kProgId;

struct Entry {
  std::u16string path;
  const char16_t* name;  // u"" for the key's default value
  std::u16string text;
};

}  // namespace

platform::Status RegisterServer(platform::Registry& registry, const std::u16string& modulePath) {
  const std::array<Entry, 9> entries = {{
      {kClassKey, u"", kProgId},
      {kClassKey + u"\\InprocServer32", u"", modulePath},
      {kClassKey + u"\\InprocServer32", u"ThreadingModel", u"Apartment"},
      {kClassKey + u"\\ProgID", u"", kProgId},
      {kClassKey + u"\\TypeLib", u"", kLibId},
      {kClassKey + u"\\VERSION", u"", kTypeLibVersion},
      {kClassKey + u"\\Programmable", u"", u""},
      {kProgIdKey, u"", kProgId},
      {kProgIdKey + u"\\CLSID", u"", kClsidNick},
  }};
  for (const Entry& entry : entries) {
    const platform::Status status = WriteRegistryString(registry, platform::kHkeyClassesRoot,
                                                        entry.path, entry.name, entry.text);
    if (status != platform::kErrorSuccess) {
      return status;
    }
  }
  return platform::kErrorSuccess;
}

platform::Status UnregisterServer(platform::Registry& registry) {
  // Each key before the one it lies under.
  return DeleteRegistryKeys(
      registry, platform::kHkeyClassesRoot,
      {kClassKey + u"\\InprocServer32", kClassKey + u"\\ProgID", kClassKey + u"\\TypeLib",
       kClassKey + u"\\VERSION", kClassKey + u"\\Programmable", kClassKey, kProgIdKey + u"\\CLSID",
       kProgIdKey});
}

}  // namespace tb
