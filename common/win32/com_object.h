// What every COM object of ours is as an object: the interfaces it answers
// QueryInterface for, its reference count, and what its life does to the
// count of what holds its module loaded, which DllCanUnloadNow asks about.
// Each library, and each program, has its own count.
#pragma once

#include <windows.h>

#include <unknwn.h>

#include <tuple>

namespace tb::win32 {

inline LONG g_moduleLocks = 0;

inline void LockModule() { InterlockedIncrement(&g_moduleLocks); }
inline void UnlockModule() { InterlockedDecrement(&g_moduleLocks); }
[[nodiscard]] inline bool ModuleLocked() {
  return InterlockedCompareExchange(&g_moduleLocks, 0, 0) != 0;
}

// An interface an object implements, and every IID it answers for it: its
// own and those of the interfaces it extends (IDispatch, for a dual
// interface). They are written out, as MinGW's headers give __uuidof for
// only some interfaces.
template <typename Interface, const IID&... ids>
struct Implements {
  using Type = Interface;
  static bool Answers(REFIID iid) { return (IsEqualIID(iid, ids) || ...); }
};

enum class Lifetime {
  // Made with new and deleted by its last Release; until then it holds its
  // module loaded, as the module's code answers its calls.
  kHoldsModule,
  // The same, holding nothing: an object of a program, whose code cannot go
  // away under it.
  kHoldsNothing,
  // Outlives every reference to it and is never deleted by one: a class
  // object, which lives as long as its module, or an object a program keeps
  // itself. Each reference a caller holds, holds the module.
  kStatic,
};

// IUnknown of an object that implements each `Implemented` (an Implements);
// the first interface answers for IUnknown. It starts with one reference,
// its maker's.
template <Lifetime lifetime, typename... Implemented>
class ComObject : public Implemented::Type... {
 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;
  ComObject(ComObject&&) = delete;
  ComObject& operator=(ComObject&&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) final {
    if (object == nullptr) {
      return E_POINTER;
    }
    using Unknown = std::tuple_element_t<0, std::tuple<typename Implemented::Type...>>;
    *object =
        IsEqualIID(iid, IID_IUnknown) ? static_cast<Unknown*>(this) : Find<Implemented...>(iid);
    if (*object == nullptr) {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() final {
    if constexpr (lifetime == Lifetime::kStatic) {
      LockModule();
    }
    return static_cast<ULONG>(InterlockedIncrement(&references_));
  }
  ULONG STDMETHODCALLTYPE Release() final {
    const LONG left = InterlockedDecrement(&references_);
    if constexpr (lifetime == Lifetime::kStatic) {
      UnlockModule();
    } else if (left == 0) {
      delete this;
    }
    return static_cast<ULONG>(left);
  }

 protected:
  ComObject() {
    if constexpr (lifetime == Lifetime::kHoldsModule) {
      LockModule();
    }
  }
  virtual ~ComObject() {
    if constexpr (lifetime == Lifetime::kHoldsModule) {
      UnlockModule();
    }
  }

 private:
  template <typename Entry, typename... Rest>
  void* Find(REFIID iid) {
    if (Entry::Answers(iid)) {
      return static_cast<typename Entry::Type*>(this);
    }
    if constexpr (sizeof...(Rest) != 0) {
      return Find<Rest...>(iid);
    } else {
      return nullptr;
    }
  }

  LONG references_ = 1;
};

// The `iid` interface of an object just made with new, in *object; the
// maker's reference goes, so an object asked for an interface it lacks is
// deleted again.
template <typename Object>
HRESULT HandOut(Object* made, REFIID iid, void** object) {
  const HRESULT hr = made->QueryInterface(iid, object);
  made->Release();
  return hr;
}

}  // namespace tb::win32
