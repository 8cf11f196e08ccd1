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
  return DeleteRegistryKeys(registry, platform::kHkeyClassesRoot, {kServerKey, kClassKey});
}

}  // namespace tb::publisher
