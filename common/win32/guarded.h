// The edge between COM and the portable code: nothing thrown crosses it.
#pragma once

#include <windows.h>

#include <new>

namespace tb::win32 {

// Runs one call into the portable code and answers its HRESULT; a thrown
// error becomes E_OUTOFMEMORY or E_FAIL.
template <typename Call>
HRESULT Guarded(Call call) noexcept {
  try {
    return call();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

}  // namespace tb::win32
