// The plug-in's COM identity: what the host creates and what registration
// writes.
#pragma once

namespace tb {

inline constexpr char16_t kProgId[] = u"Tunebadge.Nick";
inline constexpr char16_t kClassName[] = u"Nick";
inline constexpr char16_t kClsidNick[] = u"{1CC3A3F8-46D2-44CB-9A0B-DFC34FDC4D19}";
inline constexpr char16_t kIidNick[] = u"{3F0A2147-7B09-44C1-B59F-1E1D12A05881}";
inline constexpr char16_t kLibId[] = u"{C7570BE6-2992-473D-9CD4-E7EBB6BAD49F}";
inline constexpr char16_t kTypeLibVersion[] = u"1.0";

}  // namespace tb
