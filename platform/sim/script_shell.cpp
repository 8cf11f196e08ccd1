#include "platform/sim/script_shell.h"

#include <map>

namespace tb::sim {
namespace {

using platform::HResult;

constexpr HResult kClassNotRegistered = static_cast<HResult>(0x80040154U);
constexpr HResult kInvalidRoot = static_cast<HResult>(0x80070057U);  // E_INVALIDARG

class SimScriptShellObject final : public platform::ScriptShellObject {
 public:
  SimScriptShellObject(Faults& faults, SimRegistry& registry)
      : faults_(faults), registry_(registry) {}

  // "ROOT\path\value" with ROOT spelt out or abbreviated, as RegWrite takes
  // it; only REG_DWORD is needed here.
  HResult RegWrite(const std::u16string& name, std::int16_t value,
                   const std::u16string& type) override {
    if (faults_.Enter("WshShell::RegWrite")) {
      return platform::kEFail;
    }
    static const std::map<std::u16string, platform::RegKey> kRoots = {
        {u"HKEY_CURRENT_USER", platform::kHkeyCurrentUser},
        {u"HKCU", platform::kHkeyCurrentUser},
        {u"HKEY_LOCAL_MACHINE", platform::kHkeyLocalMachine},
        {u"HKLM", platform::kHkeyLocalMachine},
    };
    const std::size_t rootEnd = name.find(u'\\');
    const std::size_t valueStart = name.rfind(u'\\');
    const auto root = kRoots.find(name.substr(0, rootEnd));
    if (rootEnd == std::u16string::npos || root == kRoots.end() || type != u"REG_DWORD") {
      return kInvalidRoot;
    }
    const std::u16string path = name.substr(rootEnd + 1, valueStart - rootEnd - 1);
    registry_.PutDword(root->second, path, name.substr(valueStart + 1),
                       static_cast<std::uint32_t>(static_cast<std::int32_t>(value)));
    return platform::kSOk;
  }

 private:
  Faults& faults_;
  SimRegistry& registry_;
};

}  // namespace

HResult SimScriptShell::CreateScriptShell(std::unique_ptr<platform::ScriptShellObject>* object) {
  object->reset();
  if (faults_.Enter("CreateObject(WScript.Shell)") || !installed) {
    return kClassNotRegistered;
  }
  *object = std::make_unique<SimScriptShellObject>(faults_, registry_);
  return platform::kSOk;
}

}  // namespace tb::sim
