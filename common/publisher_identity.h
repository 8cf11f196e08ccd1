// The publishing plug-in's COM identity: the class that Windows Media
// Player's list of UI plug-ins names and that self-registration writes.
#pragma once

namespace tb::publisher {

inline constexpr char16_t kClsidPublisher[] = u"{51EB565B-89F1-4EB8-881F-CC1ACEA33E7C}";
inline constexpr char16_t kPublisherClassName[] = u"Tunebadge Windows Media Player publisher";

}  // namespace tb::publisher
