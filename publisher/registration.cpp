#include "publisher/registration.h"

#include "common/mod_reg.h"
#include "common/publisher_identity.h"

namespace tb::publisher {
namespace {

const std::u16string kClassKey = std::u16string(u"CLSID\\") + kClsidPublisher;
const std::u16string kServerKey = kClassKey + u"\\InprocServer32";

}  // namespace

platform::Status RegisterPublisher(platform::Registry& registry, const std::u16string& modulePath) {
  platform::Status status = WriteRegistryString(registry, platform::kHkeyClassesRoot, kClassKey,
                                                u"", kPublisherClassName);
  if (status == platform::kErrorSuccess) {
    status = WriteRegistryString(registry, platform::kHkeyClassesRoot, kServerKey, u"", modulePath);
  }
  if (status == platform::kErrorSuccess) {
    status = WriteRegistryString(registry, platform::kHkeyClassesRoot, kServerKey,
                                 u"ThreadingModel", u"Apartment");
  }
  return status;
}

platform::Status UnregisterPublisher(platform::Registry& registry) {
  platform::Status result = platform::kErrorSuccess;
  // Deepest first: a key with subkeys cannot be deleted.
  for (const std::u16string& path : {kServerKey, kClassKey}) {
    const platform::Status status = registry.DeleteKey(platform::kHkeyClassesRoot, path);
    if (status != platform::kErrorSuccess && status != platform::kErrorFileNotFound &&
        result == platform::kErrorSuccess) {
      result = status;
    }
  }
  return result;
}

}  // namespace tb::publisher
